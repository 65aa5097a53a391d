// SwitchView: on/off switches by caption. A flip is reported with the state the learner asked
// for; the switch shows what the server sets.
import { el, send } from './session.js';
import { screen } from './navigation_view.js';

export function build(s, part) {
  s.switches = s.switches || new Map();
  return el('ul', { class: 'rows switches' }, part.captions.map((caption) => {
    const input = el('input', { type: 'checkbox', role: 'switch', 'data-switch': caption,
      onchange: (e) => {
        const on = e.target.checked;
        // Shown as it was until the server answers.
        e.target.checked = !on;
        send({ screen: s.id, e: 'switch', caption, on });
      } });
    s.switches.set(caption, input);
    return el('li', {}, el('label', { class: 'row switch-row' },
      el('span', { class: 'row-text' }, el('span', { class: 'caption' }, caption)),
      input, el('span', { class: 'toggle', 'aria-hidden': 'true' })));
  }));
}

export function command(m) {
  const s = screen(m.screen);
  const input = s && s.switches && s.switches.get(m.caption);
  if (input) input.checked = m.on;
}
