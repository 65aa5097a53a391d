// DialogView: a modal dialog with a title, a message and buttons; the choice is reported once as
// the button's index.
import { el, send } from './session.js';

const open = [];

export function isOpen() { return open.length > 0; }

// Presses a button of the dialog on top: Enter the last (the confirming one), Esc the first.
export function press(which) {
  const d = open[open.length - 1];
  if (!d) return;
  d.choose(which === 'last' ? d.count - 1 : 0);
}

export function command(m) {
  const layer = el('div', { class: 'overlay dialog-layer' });
  const choose = (index) => {
    if (!layer.isConnected) return;
    layer.remove();
    open.splice(open.indexOf(d), 1);
    send({ screen: m.screen, e: 'dialog', id: m.id, index });
  };
  const d = { choose, count: m.buttons.length };
  const box = el('div', { class: 'dialog', role: 'alertdialog', 'aria-modal': 'true' },
    m.title ? el('h2', {}, m.title) : null,
    m.message ? el('p', {}, m.message) : null,
    el('div', { class: 'dialog-buttons' }, m.buttons.map((title, index) =>
      el('button', { class: 'button' + (index === m.buttons.length - 1 ? ' primary' : ''),
        onclick: () => choose(index) }, title))));
  layer.append(box);
  open.push(d);
  document.getElementById('overlays').append(layer);
  box.querySelector('.primary')?.focus();
}
