// A result: its heading, score, lines and one button.
import { el, send } from './session.js';

export function build(s) {
  const sp = s.spec;
  s.body.append(el('div', { class: 'result' },
    sp.heading ? el('h2', {}, sp.heading) : null,
    sp.score !== undefined ? el('p', { class: 'score' }, sp.score) : null,
    (sp.lines || []).map((line) => el('p', {}, line)),
    el('div', { class: 'actions' }, (sp.buttons || []).map((caption) => el('button', {
      class: 'button primary', 'data-caption': caption,
      onclick: () => send({ screen: s.id, e: 'action', caption }) }, caption)))));
}
