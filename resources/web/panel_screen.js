// A screen of the facade's screen logic: its parts, in the order the screen's description lists
// them, each drawn by the module of its view (tabs, labels, switches, date picker, fields, rows,
// buttons, a page).
import { el, send } from './session.js';
import * as tabs from './tab_view.js';
import * as labels from './label_view.js';
import * as switches from './switch_view.js';
import * as date from './date_picker_view.js';
import * as rows from './row_list_view.js';
import * as fields from './field_view.js';
import * as page from './page_view.js';

const action = (s, caption) => () => send({ screen: s.id, e: 'action', caption });

const parts = {
  tabs: (s) => tabs.build(s),
  labels: (s, p) => labels.build(s, p),
  switches: (s, p) => switches.build(s, p),
  date: (s) => date.build(s),
  rows: (s, p) => rows.buildList(s, p),
  fields: (s, p) => el('div', { class: 'form' }, p.fields.map((f) => el('label', { class: 'field' },
    el('span', {}, f.name), fields.field(s, f)))),
  search(s, p) {
    const go = action(s, p.button);
    const input = fields.field(s, { name: p.name, type: 'text', hint: p.name });
    input.addEventListener('keydown', (e) => { if (e.key === 'Enter') go(); });
    return el('div', { class: 'search-bar' }, input,
      el('button', { class: 'button primary', 'data-caption': p.button, onclick: go }, p.button));
  },
  buttons: (s, p) => el('div', { class: 'actions' }, p.captions.map((caption) =>
    el('button', { class: 'button primary', 'data-caption': caption, onclick: action(s, caption) },
      caption))),
  page(s, p) {
    const frame = page.create(s.id, p.page);
    frame.classList.add('document-page');
    return frame;
  },
};

export function build(s) {
  for (const p of s.spec.parts || []) {
    const make = parts[p.part];
    if (make) s.body.append(make(s, p));
  }
}
