// NavigationView: the stack of screens. A pushed screen covers the one below; popping shows it
// again. Each screen kind builds its body with the module of its views.
import { el, icon, send } from './session.js';
import * as rows from './row_list_view.js';
import * as fields from './field_view.js';
import * as pager from './pager_view.js';
import * as bars from './practice_bars_view.js';
import * as summary from './summary_view.js';
import * as sheet from './sheet_screen.js';
import * as result from './result_screen.js';
import * as panel from './panel_screen.js';

const stack = [];
const byId = new Map();

const builders = {
  list: rows.build,
  form: fields.build,
  practice(screen) { bars.build(screen); pager.build(screen); },
  home: summary.build,
  sheet: sheet.build,
  result: result.build,
  panel: panel.build,
};

export function screen(id) { return byId.get(id); }
export function top() { return stack[stack.length - 1]; }

export function reset() {
  for (const s of stack) s.el.remove();
  stack.length = 0;
  byId.clear();
  document.getElementById('app').replaceChildren();
}

function push(m) {
  const below = top();
  const back = m.root ? null : el('button', {
    class: 'nav-back', 'aria-label': '返回', onclick: () => send({ screen: m.screen, e: 'back' }),
  }, icon('back', '返回'));
  const title = el('h1', { class: 'title' }, m.title);
  const header = el('header', { class: 'bar' }, back || el('span', { class: 'nav-space' }), title,
    el('div', { class: 'nav-right' }));
  const body = el('div', { class: 'body' });
  const section = el('section', { class: `screen kind-${m.kind}`, 'data-screen': m.screen },
    header, body);
  const s = { id: m.screen, kind: m.kind, spec: m.spec || {}, el: section, header, title, body };
  (builders[m.kind] || (() => {}))(s);
  if (below) below.el.hidden = true;
  stack.push(s);
  byId.set(s.id, s);
  document.getElementById('app').append(section);
}

function pop(m) {
  const i = stack.findIndex((s) => s.id === m.screen);
  if (i < 0) return;
  const [gone] = stack.splice(i, 1);
  byId.delete(gone.id);
  gone.el.remove();
  const shown = top();
  if (shown) shown.el.hidden = false;
}

export function command(m) {
  if (m.op === 'push') push(m);
  else if (m.op === 'pop') pop(m);
  else if (m.op === 'reset') reset();
  else if (m.op === 'title') {
    const s = screen(m.screen);
    if (s) s.title.textContent = m.title;
  }
}
