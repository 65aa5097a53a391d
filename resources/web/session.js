// The tab's connection to the server: its id, the question-page origin, and the events the
// learner's actions send back. Events go out one after another, in the order they happened.
const token = location.pathname.split('/')[1];

export const session = { tab: 0, pageBase: '', pageOrigin: '', token };

let chain = Promise.resolve();

export function send(event) {
  const body = JSON.stringify({ ...event, tab: session.tab });
  chain = chain.then(() => fetch('/api/event', {
    method: 'POST',
    headers: { 'Content-Type': 'application/json', 'X-Examora-Token': token },
    body,
  }).catch(() => {}));
  return chain;
}

// Builds an element: el('div', {class: 'x'}, child, 'text', …). Texts always become text nodes,
// never markup.
export function el(tag, attributes = {}, ...children) {
  const node = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) {
    if (value === undefined || value === null || value === false) continue;
    if (name.startsWith('on')) node.addEventListener(name.slice(2), value);
    else node.setAttribute(name, value === true ? '' : String(value));
  }
  for (const child of children.flat()) {
    if (child === undefined || child === null || child === false) continue;
    node.append(child instanceof Node ? child : document.createTextNode(String(child)));
  }
  return node;
}

export function icon(name, label = '') {
  return el('img', { class: 'icon', src: `icons/${name}.svg`, alt: label, draggable: 'false' });
}
