// PagerView: the practice session's strip of pages, scrolled sideways, with the three page frames
// placed where the server says. Positions arrive in the server's units (`unit` per page) and are
// scaled to the pager's width; where a scroll comes to rest is reported back in those units.
import { el, send } from './session.js';
import { screen } from './navigation_view.js';
import * as page from './page_view.js';

export function build(s) {
  const strip = el('div', { class: 'strip' });
  const pager = el('div', { class: 'pager', tabindex: '-1' }, strip);
  s.pager = { el: pager, strip, unit: s.spec.unit || 1000, content: 0, offset: 0,
    slots: s.spec.pages.map((id) => ({ id, x: null })) };
  for (const slot of s.pager.slots) {
    const frame = page.create(s.id, slot.id);
    frame.hidden = true;
    strip.append(frame);
  }
  window.addEventListener('examora-frames-traded', (e) => { if (e.detail.screen === s.id) layout(s); });
  s.bottomBar.before(pager);
  // Only the learner's own scrolling is reported, never the pager's layout or snapping. A swipe
  // starts on the pager or in one of its frames (whose prelude reports the gesture).
  const user = () => { s.pager.user = true; };
  for (const type of ['wheel', 'touchstart', 'pointerdown', 'keydown']) {
    pager.addEventListener(type, user, { passive: true });
  }
  window.addEventListener('examora-gesture', (e) => { if (e.detail.screen === s.id) user(); });
  pager.addEventListener('scrollend', () => {
    const width = pager.clientWidth;
    if (!width || !s.pager.user) return;
    s.pager.user = false;
    const offset = pager.scrollLeft / width * s.pager.unit;
    if (Math.abs(offset - s.pager.offset) < 0.5) return;
    s.pager.offset = offset;
    send({ screen: s.id, e: 'scroll', offset });
  });
  new ResizeObserver(() => layout(s)).observe(pager);
}

function layout(s) {
  const p = s.pager;
  const width = p.el.clientWidth;
  // A hidden screen is laid out when it shows again.
  if (!width) return;
  p.strip.style.width = `${(p.content / p.unit) * width}px`;
  for (const slot of p.slots) {
    const frame = page.frameOf(slot.id);
    frame.hidden = slot.x === null;
    frame.style.width = `${width}px`;
    if (slot.x !== null) frame.style.left = `${(slot.x / p.unit) * width}px`;
  }
  // A gesture before this layout (a tap on an answer) is not a swipe of what is laid out now.
  p.user = false;
  // Snapping is held off while the strip moves, so it cannot pull the strip elsewhere.
  p.el.style.scrollSnapType = 'none';
  p.el.scrollLeft = (p.offset / p.unit) * width;
  requestAnimationFrame(() => { p.el.style.scrollSnapType = ''; });
}

// The frame showing now: the one placed where the strip is scrolled to.
export function currentFrame(s) {
  const p = s.pager;
  if (!p) return null;
  const page = Math.round(p.offset / p.unit);
  const slot = p.slots.find((x) => x.x !== null && Math.round(x.x / p.unit) === page);
  return slot ? slot.id : null;
}

export function command(m) {
  const s = screen(m.screen);
  if (!s || !s.pager) return;
  const p = s.pager;
  if (m.op === 'content') p.content = m.width;
  else if (m.op === 'offset') p.offset = m.offset;
  else if (m.op === 'touch') p.el.classList.toggle('locked', !m.enabled);
  else if (m.op === 'place') p.slots[m.slot].x = m.x;
  layout(s);
}
