// PageView: question pages in frames of the question-page origin. A load points the frame at
// the page the server stored; a script is posted to the frame once that load is ready. The
// frame's prelude reports "ios://" links, its readiness and keys by message; only messages from
// the page origin, from one of our frames and about the frame's current load are taken.
import { session, send, el } from './session.js';
import * as keyboard from './keyboard.js';

const pages = new Map();  // page id → { frame, screen, load, ready, queue }

export function create(screenId, pageId) {
  const frame = el('iframe', { class: 'page', title: '试题', 'data-page': pageId,
    referrerpolicy: 'no-referrer' });
  pages.set(pageId, { frame, screen: screenId, load: 0, ready: false, queue: [] });
  return frame;
}

export function forget(pageId) { pages.delete(pageId); }

export function evaluate(pageId, script) {
  const p = pages.get(pageId);
  if (!p || !p.ready) return;
  p.frame.contentWindow.postMessage({ script }, session.pageOrigin);
}

export function command(m) {
  const p = pages.get(m.page);
  if (!p) return;
  if (m.op === 'load') {
    p.load = m.load;
    p.ready = false;
    p.queue = [];
    p.frame.src = `${session.pageBase}/p/${m.page}/${m.load}`;
  } else if (m.op === 'eval') {
    if (m.load !== p.load) return;
    if (p.ready) p.frame.contentWindow.postMessage({ script: m.script }, session.pageOrigin);
    else p.queue.push(m.script);
  }
}

window.addEventListener('message', (e) => {
  if (!session.pageOrigin || e.origin !== session.pageOrigin) return;
  const d = e.data;
  if (!d || typeof d !== 'object') return;
  const p = pages.get(d.page);
  if (!p || p.frame.contentWindow !== e.source || d.load !== p.load) return;
  if (d.ready) {
    p.ready = true;
    for (const script of p.queue) p.frame.contentWindow.postMessage({ script }, session.pageOrigin);
    p.queue = [];
    window.dispatchEvent(new CustomEvent('examora-page-ready', { detail: { page: d.page, load: d.load } }));
  } else if (typeof d.link === 'string') {
    send({ screen: p.screen, e: 'link', page: d.page, load: d.load, url: d.link });
  } else if (typeof d.key === 'string') {
    keyboard.key(d.key);
  }
});
