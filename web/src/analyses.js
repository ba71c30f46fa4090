import { $, element } from './dom.js';
import { table } from './tables.js';
import { chart } from './chart.js';
import { compareOf, drawSetups } from './setups.js';

// The sections below the result: explanation, weights, several setups, the sweep and its
// chart, and the table of every spell.
export function analyse(page) {
  const { vyr } = page, now = page.values(), current = page.spell();
  if (current === null) return;
  $('explication').replaceChildren(...vyr.explain(now, current).map(step => element('li', { textContent: step })));
  table('poids', vyr.weights(now, current, Number($('pas').value)), { hidden: ['index', 'spell'] });
  drawSetups(page, current);
  const sortedBy = page.sortedBy;
  table('comparaison', compareOf(page, now, sortedBy), {
    sortedBy,
    sort: column => {
      page.sortedBy = { column, descending: sortedBy.column === column && !sortedBy.descending };
      analyse(page);
    },
  });
  const others = [...$('sorts').selectedOptions].map(option => Number(option.value)).filter(s => s !== current);
  const sweep = vyr.sweep(now, [current, ...others], `level=${$('de').value}..${$('jusqua').value}`);
  if (sweep.error) {
    $('point').textContent =
      'Plage de niveaux refusée : le premier niveau doit précéder le dernier, et la plage rester raisonnable.';
  } else chart(sweep, page.spells, $('serie').value);
  if ($('en-tableau').open && !sweep.error) table('valeurs', sweep);
}
