// SummaryView and the main screen around it: the practice summary, the function grid and the
// side menu with the learner's header.
import { el, icon, send } from './session.js';
import { screen } from './navigation_view.js';

export function build(s) {
  const menuButton = el('button', { class: 'nav-button', 'aria-label': '菜单',
    onclick: () => toggleMenu(s, true) }, icon('menuBtn_Nav', '菜单'));
  s.header.querySelector('.nav-space')?.replaceWith(menuButton);
  s.header.querySelector('.nav-right').append(el('button', { class: 'nav-button',
    'aria-label': '会员', onclick: () => send({ screen: s.id, e: 'menu', number: 99 }) },
  icon('memberBtn_Nav', '会员')));

  s.practised = el('strong', { class: 'practised' }, '0');
  s.wrong = el('span', { class: 'wrong' }, '错题量:0');
  s.rate = el('span', { class: 'rate' }, '准确率:0%');
  s.body.append(el('div', { class: 'summary' },
    el('p', { class: 'summary-main' }, '已练习', s.practised, '题'),
    el('p', { class: 'summary-side' }, s.wrong, s.rate)));
  s.body.append(el('div', { class: 'grid' }, s.spec.cells.map((cell) => el('button', {
    class: 'cell', 'data-cell': cell.number,
    onclick: () => send({ screen: s.id, e: 'cell', number: cell.number }) },
  icon(cell.icon), el('span', {}, cell.label)))));

  s.memberName = el('span', {}, '点击登录');
  s.menu = el('aside', { class: 'side-menu', hidden: true },
    el('button', { class: 'menu-header', onclick: () => { toggleMenu(s, false);
      send({ screen: s.id, e: 'menu', number: 99 }); } }, icon('memberBtn_Nav'), s.memberName),
    el('ul', {}, s.spec.menu.map((item) => el('li', {}, el('button', { class: 'menu-item',
      'data-menu': item.number, onclick: () => { toggleMenu(s, false);
        send({ screen: s.id, e: 'menu', number: item.number }); } },
    icon(item.icon), el('span', {}, item.label))))));
  s.scrim = el('div', { class: 'scrim', hidden: true, onclick: () => toggleMenu(s, false) });
  s.el.append(s.scrim, s.menu);
}

export function toggleMenu(s, open) {
  s.menu.hidden = !open;
  s.scrim.hidden = !open;
}

export function command(m) {
  const s = screen(m.screen);
  if (!s || !s.practised) return;
  s.practised.textContent = m.practised;
  s.wrong.textContent = m.wrong;
  s.rate.textContent = m.rate;
}

export function member(m) {
  const s = screen(m.screen);
  if (s && s.memberName) s.memberName.textContent = m.name;
}
