// The keyboard: ←/→ previous and next subject, A–G choose an option, Enter confirm, F favourite,
// N note, Esc back, ? this help. Keys pressed inside a question page arrive from its frame.
import { el, send } from './session.js';
import { top } from './navigation_view.js';
import * as dialog from './dialog_view.js';
import * as page from './page_view.js';
import * as pager from './pager_view.js';

const help = [
  ['← / →', '上一题 / 下一题'],
  ['A – G', '选择选项'],
  ['Enter', '确认'],
  ['F', '收藏'],
  ['N', '笔记'],
  ['Esc', '返回'],
  ['?', '快捷键说明'],
];

let helpLayer = null;

function toggleHelp() {
  if (helpLayer) { helpLayer.remove(); helpLayer = null; return; }
  helpLayer = el('div', { class: 'overlay', onclick: toggleHelp },
    el('div', { class: 'dialog help', role: 'dialog', 'aria-label': '快捷键' },
      el('h2', {}, '快捷键'),
      el('dl', {}, help.map(([k, v]) => [el('dt', {}, k), el('dd', {}, v)]))));
  document.getElementById('overlays').append(helpLayer);
}

function inPage(s, script) {
  const id = pager.currentFrame(s);
  if (id !== null) page.evaluate(id, script);
}

// Handles a key; true when it meant something here.
export function key(k) {
  if (k === '?') { toggleHelp(); return true; }
  if (helpLayer) { if (k === 'Escape') toggleHelp(); return true; }
  if (dialog.isOpen()) {
    if (k === 'Enter') dialog.press('last');
    else if (k === 'Escape') dialog.press('first');
    return true;
  }
  const s = top();
  if (!s) return false;
  if (k === 'Escape') {
    if (s.menu && !s.menu.hidden) { s.menu.hidden = true; s.scrim.hidden = true; return true; }
    send({ screen: s.id, e: 'back' });
    return true;
  }
  if (s.kind !== 'practice') return false;
  const lower = k.toLowerCase();
  if (k === 'ArrowLeft') send({ screen: s.id, e: 'bottom', index: 0 });
  else if (k === 'ArrowRight') send({ screen: s.id, e: 'bottom', index: 2 });
  else if (lower === 'f') send({ screen: s.id, e: 'nav', tag: 2 });
  else if (lower === 'n') send({ screen: s.id, e: 'nav', tag: 3 });
  else if (k === 'Enter') {
    inPage(s, "(function(){var b=document.getElementById('btnsumitanswer');"
      + "if(b&&b.style.display!=='none')b.click();})();");
  } else if (/^[a-g]$/.test(lower)) {
    const i = lower.charCodeAt(0) - 97;
    inPage(s, `(function(){var e=document.getElementById('answeritem_${i}');`
      + 'if(e&&!e.disabled)e.click();})();');
  } else return false;
  return true;
}

export function install() {
  document.addEventListener('keydown', (e) => {
    if (e.ctrlKey || e.metaKey || e.altKey) return;
    const t = e.target;
    const typing = t && (t.tagName === 'TEXTAREA' || (t.tagName === 'INPUT' && t.type !== 'radio'
      && t.type !== 'checkbox'));
    if (typing && e.key !== 'Escape') return;
    if (key(e.key)) e.preventDefault();
  });
}
