// ProgressDialogView: long work's progress, its phase as the title and a cancel button.
import { el, send } from './session.js';

let dialog = null;

export function command(m) {
  if (m.op === 'show') {
    dialog?.layer.remove();
    const title = el('h2', {}, m.title);
    const bar = el('progress', { max: '100', value: '0' });
    const percent = el('span', { class: 'percent' }, '0%');
    const layer = el('div', { class: 'overlay' }, el('div', { class: 'dialog progress-dialog' },
      title, bar, percent,
      el('div', { class: 'dialog-buttons' }, el('button', { class: 'button',
        onclick: () => send({ screen: m.screen, e: 'cancel' }) }, m.cancel || '取消'))));
    dialog = { layer, title, bar, percent };
    document.getElementById('overlays').append(layer);
  } else if (!dialog) {
    return;
  } else if (m.op === 'title') {
    dialog.title.textContent = m.title;
  } else if (m.op === 'value') {
    dialog.bar.value = m.percent;
    dialog.percent.textContent = `${Math.round(m.percent)}%`;
  } else if (m.op === 'hide') {
    dialog.layer.remove();
    dialog = null;
  }
}
