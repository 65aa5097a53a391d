// RowListView: a screen's rows, each a caption with its value (a chapter's progress line, a
// course's remark); a row that opens something shows a chevron. A tap reports the row's index and
// caption; a row's own buttons (a paper's "开始考试", …) report the row and their caption.
import { el, icon, send } from './session.js';
import { screen } from './navigation_view.js';

// The list of a screen as its part describes it: icon, text when empty, tree look, row buttons.
export function buildList(s, part = {}) {
  s.rowSpec = part;
  s.list = el('ul', { class: 'rows' + (part.tree ? ' tree' : '') });
  return s.list;
}

// A "list" screen: an optional header, the rows and the screen's buttons.
export function build(s) {
  if (s.spec.header) s.body.append(el('p', { class: 'list-header' }, s.spec.header));
  s.body.append(buildList(s, s.spec));
  if (s.spec.buttons) {
    s.body.append(el('div', { class: 'actions' }, s.spec.buttons.map((caption) =>
      el('button', { class: 'button primary', 'data-caption': caption,
        onclick: () => send({ screen: s.id, e: 'action', caption }) }, caption))));
  }
}

export function command(m) {
  const s = screen(m.screen);
  if (!s || !s.list) return;
  const spec = s.rowSpec || {};
  const items = m.rows.map((row, index) => {
    const tap = el('button', { class: 'row', onclick: () => send({ screen: s.id, e: 'row', index,
      caption: row.caption }) },
    spec.icon ? icon(spec.icon) : null,
    el('span', { class: 'row-text' },
      el('span', { class: 'caption' }, row.caption),
      row.value ? el('span', { class: 'value' }, row.value) : null),
    row.opens ? icon('chevron') : null);
    if (!spec.actions) return el('li', {}, tap);
    return el('li', { class: 'with-actions' }, tap, el('div', { class: 'row-actions' },
      spec.actions.map((caption) => el('button', { class: 'button small', 'data-caption': caption,
        onclick: () => send({ screen: s.id, e: 'rowaction', index, caption }) }, caption))));
  });
  if (!items.length && spec.empty) items.push(el('li', { class: 'empty' }, spec.empty));
  s.list.replaceChildren(...items);
}
