// RowListView: a screen's rows, each a caption with its value (a chapter's progress line, a
// course's remark); a row that opens something shows a chevron. A tap reports the row's index.
import { el, icon, send } from './session.js';
import { screen } from './navigation_view.js';
import { field } from './field_view.js';

export function build(s) {
  if (s.spec.search) {
    const { name, button } = s.spec.search;
    const go = () => send({ screen: s.id, e: 'action', caption: button });
    const input = field(s, { name, type: 'text', hint: name });
    input.addEventListener('keydown', (e) => { if (e.key === 'Enter') go(); });
    s.body.append(el('div', { class: 'search-bar' }, input,
      el('button', { class: 'button primary', 'data-caption': button, onclick: go }, button)));
  }
  const switcher = (titles, kind, cls) => {
    const bar = el('div', { class: cls, role: 'tablist' });
    titles.forEach((title, index) => bar.append(el('button', { role: 'tab', class: index ? '' : 'on',
      'aria-selected': index === 0 ? 'true' : 'false',
      onclick: (e) => {
        for (const b of bar.children) { b.classList.remove('on'); b.setAttribute('aria-selected', 'false'); }
        e.currentTarget.classList.add('on');
        e.currentTarget.setAttribute('aria-selected', 'true');
        send({ screen: s.id, e: kind, index });
      } }, title)));
    return bar;
  };
  if (s.spec.segments) s.body.append(switcher(s.spec.segments, 'segment', 'segments'));
  if (s.spec.tabs) s.body.append(switcher(s.spec.tabs, 'tab', 'tabs'));
  if (s.spec.header) s.body.append(el('p', { class: 'list-header' }, s.spec.header));
  s.list = el('ul', { class: 'rows' + (s.spec.tree ? ' tree' : '') });
  s.body.append(s.list);
  if (s.spec.buttons) {
    s.body.append(el('div', { class: 'actions' }, s.spec.buttons.map((caption) =>
      el('button', { class: 'button primary', 'data-caption': caption,
        onclick: () => send({ screen: s.id, e: 'action', caption }) }, caption))));
  }
}

export function command(m) {
  const s = screen(m.screen);
  if (!s || !s.list) return;
  const items = m.rows.map((row, index) => el('li', {},
    el('button', { class: 'row', onclick: () => send({ screen: s.id, e: 'row', index }) },
      s.spec.icon ? icon(s.spec.icon) : null,
      el('span', { class: 'row-text' },
        el('span', { class: 'caption' }, row.caption),
        row.value ? el('span', { class: 'value' }, row.value) : null),
      row.opens ? icon('chevron') : null)));
  if (!items.length && s.spec.empty) items.push(el('li', { class: 'empty' }, s.spec.empty));
  s.list.replaceChildren(...items);
}
