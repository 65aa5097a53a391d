// BusyView: the busy mark; the screen takes no input while it shows.
import { el } from './session.js';

let layer = null;

export function command(m) {
  if (m.on && !layer) {
    layer = el('div', { class: 'overlay busy', 'aria-busy': 'true' },
      el('div', { class: 'spinner' }), m.text ? el('p', {}, m.text) : null);
    document.getElementById('overlays').append(layer);
  } else if (!m.on && layer) {
    layer.remove();
    layer = null;
  }
}
