import { $ } from './dom.js';

// The chart the core draws, put in the page as parsed SVG (names inside are the core's
// escaped text, never markup), and its marks stepped through: arrows or Home/End on the
// focused chart, a tap or hover anywhere on it picks the nearest. The chart is a slider
// whose value text is the mark's sentence, and #point shows it too.
let marks = [], current = -1;

function pick(index) {
  if (!marks.length) return;
  current = Math.max(0, Math.min(marks.length - 1, index));
  marks.forEach((mark, k) => mark.classList.toggle('courant', k === current));
  const said = marks[current].dataset.say;
  $('courbe').setAttribute('aria-valuenow', current + 1);
  $('courbe').setAttribute('aria-valuetext', said);
  $('point').textContent = said;
}

export function showChart(svgText) {
  const picture = new DOMParser().parseFromString(svgText, 'image/svg+xml').documentElement;
  const box = $('courbe');
  if (picture.nodeName !== 'svg') return clearChart();
  picture.removeAttribute('width');  // the box sets the size; the view box keeps the proportions
  picture.setAttribute('aria-hidden', 'true');
  box.replaceChildren(document.importNode(picture, true));
  marks = [...box.querySelectorAll('.mark')];
  box.setAttribute('aria-valuemin', 1);
  box.setAttribute('aria-valuemax', marks.length);
  pick(current < 0 ? 0 : current);
}

export function clearChart() {
  marks = [];
  current = -1;
  $('courbe').replaceChildren();
  for (const name of ['aria-valuenow', 'aria-valuetext']) $('courbe').removeAttribute(name);
  $('point').textContent = '';
}

const steps = { ArrowRight: 1, ArrowUp: 1, ArrowLeft: -1, ArrowDown: -1, PageUp: 10, PageDown: -10 };

export function wireChart() {
  const box = $('courbe');
  box.addEventListener('keydown', event => {
    const to = event.key === 'Home' ? 0 : event.key === 'End' ? marks.length - 1 : current + (steps[event.key] ?? NaN);
    if (Number.isNaN(to)) return;
    event.preventDefault();
    pick(to);
  });
  const nearest = event => {
    const picture = box.querySelector('svg');
    if (!picture || !marks.length) return;
    const frame = picture.getBoundingClientRect(), width = picture.viewBox.baseVal.width;
    const x = ((event.clientX - frame.left) * width) / frame.width;
    const distance = mark => Math.abs(Number(mark.dataset.x) - x);
    pick(marks.indexOf(marks.reduce((best, mark) => (distance(mark) < distance(best) ? mark : best))));
  };
  box.addEventListener('pointermove', nearest);
  box.addEventListener('pointerdown', nearest);
}
