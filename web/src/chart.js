import { $, element } from './dom.js';

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
  box.hidden = false;
  marks = [...box.querySelectorAll('.mark')];
  box.setAttribute('aria-valuemin', 1);
  box.setAttribute('aria-valuemax', marks.length);
  pick(current < 0 ? 0 : current);
}

export function clearChart() {
  marks = [];
  current = -1;
  $('courbe').replaceChildren();
  $('courbe').hidden = true;  // nothing to draw: until a chart comes, the box keeps a chart's room
  for (const name of ['aria-valuenow', 'aria-valuetext']) $('courbe').removeAttribute(name);
  $('point').textContent = '';
}

const steps = { ArrowRight: 1, ArrowUp: 1, ArrowLeft: -1, ArrowDown: -1, PageUp: 10, PageDown: -10 };

export function wireChart(height) {
  const box = $('courbe');
  box.style.minHeight = `${height}px`;  // the sections below stay put while the chart is drawn
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

// The chart's settings (the level range, the value drawn, the other spells, the table) and the
// step of the weights: written from the state, each change an action.
export function chartControls(fields, actions) {
  $('serie').replaceChildren(...fields.series.map(s => element('option', { value: s.name, textContent: s.title })));
  const typed = { pas: 'step', de: 'from', jusqua: 'to' };
  // Sections filled above the range may have pushed it away: it comes back into view as it is typed in.
  for (const [id, key] of Object.entries(typed)) {
    $(id).addEventListener('input', () => {
      if (id !== 'pas') $(id).scrollIntoView({ block: 'nearest' });
      actions.chart(key, $(id).value);
    });
  }
  $('serie').addEventListener('change', () => actions.chart('series', $('serie').value));
  $('sorts').addEventListener('change', () => actions.chart('others',
    [...$('sorts').selectedOptions].map(option => Number(option.value))));
  $('en-tableau').addEventListener('toggle', () => actions.chart('withTable', $('en-tableau').open));
  return ({ chart }, what) => {
    if (!what.has('chart') && !what.has('list')) return;
    for (const [id, key] of Object.entries(typed)) if ($(id).value !== chart[key]) $(id).value = chart[key];
    if ($('serie').value !== chart.series) $('serie').value = chart.series;
    for (const option of $('sorts').options) {
      const chosen = chart.others.includes(Number(option.value));
      if (option.selected !== chosen) option.selected = chosen;
    }
    if ($('en-tableau').open !== chart.withTable) $('en-tableau').open = chart.withTable;
  };
}
