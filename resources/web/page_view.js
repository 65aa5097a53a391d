// PageView: question pages in frames of the question-page origin. A load points the page's frame
// at the page the server stored; a script is posted to the frame once that load is ready. The
// frame's prelude reports "ios://" links, its readiness and keys by message; only messages from
// the page origin, from one of our frames and about the document the frame shows now are taken.
//
// A load whose content (by the server's hash) another page of the screen already shows takes
// that page's frame instead of loading again, and the other page's frame is reloaded behind it:
// moving to the next subject shows the page the pager had prepared at once. Links from a frame
// are reported for the page and load it stands for now.
import { session, send, el } from './session.js';
import * as keyboard from './keyboard.js';

const pages = new Map();  // page id → record

export function create(screenId, pageId) {
  const frame = el('iframe', { class: 'page', title: '试题', referrerpolicy: 'no-referrer' });
  const record = { id: pageId, screen: screenId, frame, load: 0, hash: '', wanted: '', ready: false,
    queue: [] };
  frame.dataset.page = pageId;
  pages.set(pageId, record);
  return frame;
}

export function frameOf(pageId) { return pages.get(pageId)?.frame; }
export function forget(pageId) { pages.delete(pageId); }

function post(record, script) {
  record.frame.contentWindow.postMessage({ script }, session.pageOrigin);
}

export function evaluate(pageId, script) {
  const p = pages.get(pageId);
  if (p && p.ready) post(p, script);
}

function ready(p) {
  p.ready = true;
  for (const script of p.queue) post(p, script);
  p.queue = [];
  window.dispatchEvent(new CustomEvent('examora-page-ready', { detail: { page: p.id, load: p.load } }));
}

function navigate(p) {
  p.ready = false;
  p.hash = p.wanted;
  p.frame.src = `${session.pageBase}/p/${p.id}/${p.load}`;
}

function load(m) {
  const p = pages.get(m.page);
  if (!p) return;
  p.load = m.load;
  p.wanted = m.hash;
  p.queue = [];
  const twin = [...pages.values()].find((q) => q !== p && q.screen === p.screen && q.ready
    && q.hash === m.hash);
  if (twin) {
    // Trade frames: this page shows the twin's document now; the twin's own page loads again
    // into the frame this page leaves.
    const mine = p.frame;
    p.frame = twin.frame;
    twin.frame = mine;
    p.frame.dataset.page = p.id;
    twin.frame.dataset.page = twin.id;
    p.hash = m.hash;
    twin.queue = [];
    navigate(twin);
    window.dispatchEvent(new CustomEvent('examora-frames-traded', { detail: { screen: p.screen } }));
    ready(p);
    return;
  }
  navigate(p);
}

export function command(m) {
  if (m.op === 'load') {
    load(m);
  } else if (m.op === 'eval') {
    const p = pages.get(m.page);
    if (!p || m.load !== p.load) return;
    if (p.ready) post(p, m.script);
    else p.queue.push(m.script);
  }
}

window.addEventListener('message', (e) => {
  if (!session.pageOrigin || e.origin !== session.pageOrigin) return;
  const d = e.data;
  if (!d || typeof d !== 'object') return;
  const p = [...pages.values()].find((x) => x.frame.contentWindow === e.source);
  if (!p) return;
  if (d.ready) {
    // Only the load the frame is waiting for; an earlier document's readiness is stale.
    if (!p.ready && d.page === p.id && d.load === p.load) ready(p);
  } else if (!p.ready) {
    // A document on its way out reports nothing.
  } else if (typeof d.link === 'string') {
    send({ screen: p.screen, e: 'link', page: p.id, load: p.load, url: d.link });
  } else if (typeof d.key === 'string') {
    keyboard.key(d.key);
  } else if (d.gesture === true) {
    window.dispatchEvent(new CustomEvent('examora-gesture', { detail: { screen: p.screen } }));
  }
});
