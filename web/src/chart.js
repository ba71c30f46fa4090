import { $, element, show, svg } from './dom.js';

const colours = ['#b3261e', '#1f5fa8', '#2e7d32', '#8e24aa', '#ef6c00', '#00838f'];

// The sweep's series named by the chosen value, one line per spell.
export function chart(data, spells, series) {
  const x = 0, index = data.columns.findIndex(c => c.name === 'index');
  const y = data.columns.findIndex(c => c.name === series);
  const points = y < 0 ? [] : data.rows.filter(row => row[y] !== null);
  const first = data.rows[0][x], last = data.rows[data.rows.length - 1][x];
  const top = Math.max(1, ...points.map(row => row[y]));
  const at = row => [60 + ((row[x] - first) / (last - first || 1)) * 560, 240 - (row[y] / top) * 220];
  const chosen = [...new Set(data.rows.map(row => row[index]))];
  const heading = data.columns[y] ? data.columns[y].heading : '';
  const text = (x, y, anchor, content) => svg('text', { x, y, 'text-anchor': anchor }, content);
  $('courbe').replaceChildren(
    svg('line', { x1: 60, y1: 240, x2: 620, y2: 240, class: 'axe' }),
    svg('line', { x1: 60, y1: 20, x2: 60, y2: 240, class: 'axe' }),
    text(56, 24, 'end', show(top)), text(56, 244, 'end', '0'),
    text(60, 258, 'middle', show(first)), text(620, 258, 'middle', show(last)),
    text(340, 274, 'middle', 'Niveau'), text(66, 14, 'start', heading),
    ...chosen.map((s, n) => {
      const own = points.filter(row => row[index] === s), colour = colours[n % colours.length];
      return svg('g', { fill: colour, stroke: colour },
        svg('polyline', { points: own.map(at).join(' '), fill: 'none' }),
        ...own.map(row => {
          const [cx, cy] = at(row), said = `${spells[s]}, niveau ${row[x]} : ${show(row[y])}`;
          return svg('circle', { cx, cy, r: 3, 'data-texte': said }, svg('title', {}, said));
        }));
    }));
  $('legende').replaceChildren(...chosen.map((s, n) =>
    element('li', { style: `--couleur: ${colours[n % colours.length]}`, textContent: spells[s] })));
}
