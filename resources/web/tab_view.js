// TabView: the tabs along a screen, one selected. The titles and the selection come from the
// server; a tap reports the tab's position and changes nothing by itself.
import { el, send } from './session.js';
import { screen } from './navigation_view.js';

export function build(s) {
  s.tabs = el('div', { class: 'tabs', role: 'tablist' });
  return s.tabs;
}

export function command(m) {
  const s = screen(m.screen);
  if (!s || !s.tabs) return;
  s.tabs.replaceChildren(...m.titles.map((title, index) => el('button', {
    role: 'tab', class: index === m.selected ? 'on' : '',
    'aria-selected': index === m.selected ? 'true' : 'false',
    onclick: () => send({ screen: s.id, e: 'tab', index }),
  }, title)));
}
