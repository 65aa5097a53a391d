// ListChooserView: a list to choose one item or several from; "确定" reports the chosen indexes,
// "取消" reports nothing chosen.
import { el, send } from './session.js';

export function command(m) {
  const layer = el('div', { class: 'overlay' });
  const name = `choose-${m.screen}-${m.id}`;
  const inputs = m.items.map((item) => el('input', {
    type: m.multiple ? 'checkbox' : 'radio', name, checked: item.selected }));
  const finish = (selected) => {
    layer.remove();
    send({ screen: m.screen, e: 'choose', id: m.id, selected });
  };
  layer.append(el('div', { class: 'dialog chooser', role: 'dialog', 'aria-modal': 'true' },
    el('h2', {}, m.title.trim()),
    el('ul', { class: 'chooser-list' }, m.items.map((item, i) =>
      el('li', {}, el('label', {}, inputs[i], item.name)))),
    el('div', { class: 'dialog-buttons' },
      el('button', { class: 'button', onclick: () => finish(null) }, '取消'),
      el('button', { class: 'button primary', onclick: () =>
        finish(inputs.flatMap((input, i) => (input.checked ? [i] : []))) }, '确定'))));
  document.getElementById('overlays').append(layer);
}
