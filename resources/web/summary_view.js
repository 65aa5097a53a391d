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
  s.grid = el('div', { class: 'grid' });
  s.body.append(s.grid);

  s.memberName = el('span', {}, '');
  s.menuList = el('ul', {});
  s.menu = el('aside', { class: 'side-menu', hidden: true },
    el('button', { class: 'menu-header', onclick: () => { toggleMenu(s, false);
      send({ screen: s.id, e: 'menu', number: 99 }); } }, icon('memberBtn_Nav'), s.memberName),
    s.menuList);
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

// The grid's cells (three columns; a number without a cell leaves its place empty) and the side
// menu's rows.
export function menu(m) {
  const s = screen(m.screen);
  if (!s || !s.grid) return;
  if (m.op === 'grid') {
    const byNumber = new Map(m.items.map((item) => [item.number, item]));
    const last = Math.max(-1, ...m.items.map((item) => item.number));
    const cells = [];
    for (let n = 0; n <= last || cells.length % 3; n++) {
      const item = byNumber.get(n);
      cells.push(item ? el('button', { class: 'cell', 'data-cell': n,
        onclick: () => send({ screen: s.id, e: 'cell', number: n }) },
      icon(item.icon), el('span', {}, item.label)) : el('div', { class: 'cell empty' }));
    }
    s.grid.replaceChildren(...cells);
  } else if (m.op === 'side') {
    s.menuList.replaceChildren(...m.items.map((item) => el('li', {}, el('button', {
      class: 'menu-item', 'data-menu': item.number,
      onclick: () => { toggleMenu(s, false); send({ screen: s.id, e: 'menu', number: item.number }); } },
    icon(item.icon), el('span', {}, item.label)))));
  }
}

export function member(m) {
  const s = screen(m.screen);
  if (s && s.memberName) s.memberName.textContent = m.name;
}
