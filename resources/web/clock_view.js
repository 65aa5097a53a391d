// ClockView: the paper clock's label. The server keeps the time; the label shows it ticking
// down between the server's start and pause.
import { screen } from './navigation_view.js';

function text(seconds) {
  const s = Math.max(0, Math.floor(seconds));
  const two = (n) => String(n).padStart(2, '0');
  return `${two(Math.floor(s / 3600))}:${two(Math.floor(s / 60) % 60)}:${two(s % 60)}`;
}

export function attach(s, label) {
  s.clock = { label, remaining: s.clock ? s.clock.remaining : 0, timer: null, since: 0 };
  label.textContent = text(s.clock.remaining);
}

export function command(m) {
  const s = screen(m.screen);
  if (!s || !s.clock) return;
  const c = s.clock;
  clearInterval(c.timer);
  c.timer = null;
  c.remaining = m.remaining;
  c.label.textContent = text(c.remaining);
  if (m.op === 'start') {
    c.since = performance.now();
    c.timer = setInterval(() => {
      if (!c.label.isConnected) { clearInterval(c.timer); return; }
      c.label.textContent = text(c.remaining - (performance.now() - c.since) / 1000);
    }, 250);
  }
}
