// TipView: a short text shown for a moment over the screen.
import { el } from './session.js';

export function command(m) {
  const tip = el('div', { class: 'tip', role: 'status' }, m.text);
  document.getElementById('overlays').append(tip);
  setTimeout(() => tip.remove(), 1600);
}
