// LabelView: the fixed texts of a screen by name, each with its style and the words around it
// ("答对: " … " 题"). A label without text is not shown.
import { el } from './session.js';
import { screen } from './navigation_view.js';

export function build(s, part) {
  s.labels = s.labels || new Map();
  return el('div', { class: 'labels' }, part.labels.map((l) => {
    const text = el('span', { class: 'label-text' });
    const node = el('p', { class: `label ${l.style || 'text'}`, 'data-label': l.name, hidden: true },
      l.before || '', text, l.after || '');
    s.labels.set(l.name, { node, text });
    return node;
  }));
}

export function command(m) {
  const s = screen(m.screen);
  const l = s && s.labels && s.labels.get(m.name);
  if (!l) return;
  l.text.textContent = m.text;
  l.node.hidden = m.text === '';
}
