// Small helpers to build the page's elements; text always goes in as text, never as markup.
export const $ = id => document.getElementById(id);
// The task after the next frame: what waits there never holds up a paint.
export const afterPaint = then => requestAnimationFrame(() => setTimeout(then));
// The core, compiled once the page's first frame is painted (the scripts are deferred: the page, its form
// written in by the build, paints first), so that its start never holds up that paint.
export const startCore = () => new Promise(afterPaint).then(() => createVyr());
// The page parsed: at once for a deferred script, else on DOMContentLoaded.
export const parsed = new Promise(resolve => {
  if (document.readyState === 'loading') addEventListener('DOMContentLoaded', resolve);
  else resolve();
});

const number = new Intl.NumberFormat('fr-FR', { maximumFractionDigits: 2, useGrouping: false });
export const show = value => (typeof value === 'number' ? number.format(value) : value ?? '');

export const element = (tag, props = {}, ...children) => {
  const node = Object.assign(document.createElement(tag), props);
  node.append(...children);
  return node;
};

// A file saved through a link to a Blob: nothing leaves the browser.
export function download(bytes, type, name) {
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  element('a', { href: url, download: name }).click();
  setTimeout(() => URL.revokeObjectURL(url));
}

// A list's items hold these texts, updated in place: only changed texts are written.
export function fillList(list, texts) {
  while (list.children.length > texts.length) list.lastElementChild.remove();
  texts.forEach((text, k) => {
    const item = list.children[k] || list.appendChild(element('li'));
    if (item.textContent !== text) item.textContent = text;
  });
}

export const svg = (tag, attributes, ...children) => {
  const node = document.createElementNS('http://www.w3.org/2000/svg', tag);
  for (const name in attributes) node.setAttribute(name, attributes[name]);
  node.append(...children);
  return node;
};

// A message for the player, in the status line at the top of the page. When that line is out of
// view (the player acted further down), the message also shows at the foot of the screen for a
// while: only to the eye, as the status line already says it to screen readers.
const noticeMs = 6000;
let noticeTimer = 0, lineSeen = true;
// Whether the status line is on screen, kept by an observer: measuring it on each message would lay
// the whole page out again, at start among others.
new IntersectionObserver(([entry]) => { lineSeen = entry.isIntersecting; }).observe($('etat'));
export function say(text) {
  $('etat').textContent = text;
  clearTimeout(noticeTimer);
  $('avis').textContent = lineSeen ? '' : text;
  if (!lineSeen) noticeTimer = setTimeout(() => { $('avis').textContent = ''; }, noticeMs);
}
