// TabView: the tabs along a screen, one selected. The titles and the selection come from the
// server; a tap selects the tab, as a segmented control does, and reports its position.
import { el, send } from './session.js';
import { screen } from './navigation_view.js';

export function build(s) {
  s.tabs = el('div', { class: 'tabs', role: 'tablist' });
  return s.tabs;
}

function select(s, selected) {
  [...s.tabs.children].forEach((b, i) => {
    b.classList.toggle('on', i === selected);
    b.setAttribute('aria-selected', i === selected ? 'true' : 'false');
  });
}

export function command(m) {
  const s = screen(m.screen);
  if (!s || !s.tabs) return;
  s.tabs.replaceChildren(...m.titles.map((title, index) => el('button', {
    role: 'tab', class: index === m.selected ? 'on' : '',
    'aria-selected': index === m.selected ? 'true' : 'false',
    onclick: () => { select(s, index); send({ screen: s.id, e: 'tab', index }); },
  }, title)));
}
