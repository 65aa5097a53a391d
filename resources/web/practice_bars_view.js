// PracticeBarsView: the bars around a practice session's pages: the navigation buttons (by tag:
// 1 answer sheet, 2 favourite, 3 note, 4 page settings), the paper header with "进度:", its bar
// and the clock, and the bottom bar.
import { el, icon, send } from './session.js';
import { screen } from './navigation_view.js';
import * as clock from './clock_view.js';

const navButtons = {
  1: ['sheet', '答题卡'],
  2: ['collectBtn_Nav', '收藏'],
  3: ['note', '笔记'],
  4: ['settings', '设置'],
};

export function build(s) {
  s.navRight = s.header.querySelector('.nav-right');
  s.paperHeader = el('div', { class: 'paper-header', hidden: true });
  s.bottomBar = el('nav', { class: 'bottom-bar' });
  s.body.append(s.paperHeader, s.bottomBar);
}

export function command(m) {
  const s = screen(m.screen);
  if (!s || !s.bottomBar) return;
  if (m.op === 'show') {
    s.navRight.replaceChildren(...m.tags.map((tag) => {
      const [name, label] = navButtons[tag] || ['settings', ''];
      return el('button', { class: 'nav-button', 'data-tag': tag, 'aria-label': label, title: label,
        onclick: () => send({ screen: s.id, e: 'nav', tag }) }, icon(name, label));
    }));
    s.bottomBar.replaceChildren(...m.bottom.map((title, index) => el('button', {
      class: 'bottom-button', 'data-index': index,
      onclick: () => send({ screen: s.id, e: 'bottom', index }) }, title)));
    for (const b of s.bottomBar.children) {
      b.style.background = m.button;
      b.style.color = m.buttonTitle;
    }
    s.body.style.background = m.background;
    s.paperHeader.hidden = !m.progressHeader;
    if (m.progressHeader) {
      s.progressBar = el('progress', { max: '1', value: '0' });
      s.clockLabel = el('span', { class: 'clock', hidden: !m.clock }, m.clockText);
      s.paperHeader.replaceChildren(el('span', { class: 'progress-caption' }, '进度:'),
        s.progressBar, s.clockLabel);
      clock.attach(s, s.clockLabel);
    }
  } else if (m.op === 'favourite') {
    const b = s.navRight.querySelector('[data-tag="2"]');
    if (b) {
      b.replaceChildren(icon(m.image, m.image === 'collectedBtn_Nav' ? '取消收藏' : '收藏'));
      b.dataset.image = m.image;
    }
  } else if (m.op === 'progress') {
    if (s.progressBar) s.progressBar.value = m.fraction;
  }
}
