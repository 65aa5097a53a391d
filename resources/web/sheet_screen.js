// The answer sheet: a numbered cell per subject, marked answered, right or wrong; a cell reports
// its index, a button its caption.
import { el, send } from './session.js';

export function build(s) {
  s.body.append(el('div', { class: 'sheet' }, s.spec.cells.map((cell, index) => el('button', {
    class: `sheet-cell ${cell.state}`, onclick: () => send({ screen: s.id, e: 'cell', index }) },
  cell.label))));
  s.body.append(el('div', { class: 'actions' }, s.spec.buttons.map((caption) => el('button', {
    class: 'button primary', 'data-caption': caption,
    onclick: () => send({ screen: s.id, e: 'action', caption }) }, caption))));
}
