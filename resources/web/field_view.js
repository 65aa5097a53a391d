// FieldView: the editable fields of a form, by name. Every edit is reported as it happens, so the
// server reads what the learner typed; buttons and links report their caption.
import { el, send } from './session.js';
import { screen } from './navigation_view.js';

export function field(s, f) {
  const report = (text) => send({ screen: s.id, e: 'field', name: f.name, text });
  if (f.type === 'choice') {
    const group = el('div', { class: 'choice', role: 'radiogroup', 'data-field': f.name });
    f.options.forEach((option, i) => {
      const input = el('input', { type: 'radio', name: `f${s.id}-${f.name}`, value: String(i),
        checked: String(i) === f.value, onchange: () => report(String(i)) });
      group.append(el('label', { class: 'choice-item' }, input, option));
    });
    return group;
  }
  if (f.type === 'check') {
    const input = el('input', { type: 'checkbox', checked: f.value === '1',
      onchange: (e) => report(e.target.checked ? '1' : '0') });
    return el('label', { class: 'check', 'data-field': f.name }, input, f.name.trim());
  }
  if (f.type === 'picker') {
    const hint = (f.hint || f.name).trim();
    return el('button', { type: 'button', class: f.value ? 'picker' : 'picker unset', 'data-field': f.name,
      'data-hint': hint,
      onclick: () => send({ screen: s.id, e: 'action', caption: f.name }) }, f.value || hint);
  }
  const attributes = { 'data-field': f.name, placeholder: (f.hint || '').trim(),
    'aria-label': (f.hint || f.name).trim(), autocomplete: f.autocomplete || 'off',
    oninput: (e) => report(e.target.value),
    onchange: () => send({ screen: s.id, e: 'left', name: f.name }) };
  const input = f.type === 'textarea'
    ? el('textarea', { ...attributes, rows: 8 })
    : el('input', { ...attributes, type: f.type === 'password' ? 'password' : 'text' });
  if (f.value) input.value = f.value;
  return input;
}

export function build(s) {
  const form = el('form', { class: 'form', onsubmit: (e) => e.preventDefault() });
  if (s.spec.banner) form.append(el('p', { class: 'banner' }, s.spec.banner));
  for (const f of s.spec.fields || []) {
    const node = field(s, f);
    form.append(s.spec.labels ? el('label', { class: 'field' }, el('span', {}, f.name.trim()), node) : node);
  }
  const action = (caption) => () => send({ screen: s.id, e: 'action', caption });
  for (const caption of s.spec.buttons || []) {
    form.append(el('button', { type: 'button', class: 'button primary', 'data-caption': caption,
      onclick: action(caption) }, caption));
  }
  if (s.spec.links) {
    form.append(el('div', { class: 'links' }, s.spec.links.map((caption) =>
      el('button', { type: 'button', class: 'link', 'data-caption': caption,
        onclick: action(caption) }, caption))));
  }
  s.body.append(form);
}

function find(s, name) {
  return [...s.el.querySelectorAll('[data-field]')].find((n) => n.dataset.field === name);
}

export function command(m) {
  const s = screen(m.screen);
  if (!s) return;
  const node = find(s, m.name);
  if (!node) return;
  if (m.op === 'set') {
    if (node.classList.contains('picker')) {
      node.textContent = m.text || node.dataset.hint;
      node.classList.toggle('unset', !m.text);
    } else if (node.classList.contains('check')) {
      node.querySelector('input').checked = m.text === '1';
    } else if (node.classList.contains('choice')) {
      for (const input of node.querySelectorAll('input')) input.checked = input.value === m.text;
    } else {
      node.value = m.text;
    }
  } else if (m.op === 'focus') {
    node.focus();
  }
}
