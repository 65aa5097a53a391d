// ButtonView: a screen's buttons by caption; a disabled button takes no presses.
import { screen } from './navigation_view.js';

export function command(m) {
  const s = screen(m.screen);
  if (!s) return;
  for (const b of s.el.querySelectorAll('button[data-caption]')) {
    if (b.dataset.caption === m.caption) b.disabled = !m.enabled;
  }
}
