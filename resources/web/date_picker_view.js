// DatePickerView: a date picker in date mode ("yyyy-MM-dd") with its range. The learner's choice
// is reported; the server's setters never report back.
import { el, send } from './session.js';
import { screen } from './navigation_view.js';

export function build(s) {
  s.date = el('input', { type: 'date', class: 'date-picker', 'aria-label': '考试日期',
    onchange: (e) => { if (e.target.value) send({ screen: s.id, e: 'date', date: e.target.value }); } });
  return el('div', { class: 'date-row' }, s.date);
}

export function command(m) {
  const s = screen(m.screen);
  if (!s || !s.date) return;
  if (m.op === 'range') {
    s.date.min = m.min;
    s.date.max = m.max;
  } else if (m.op === 'set') {
    s.date.value = m.date;
  }
}
