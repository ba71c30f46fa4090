// What one spell list changes against another: the two lists picked (the sample and the kept files), each spell's
// change as the core finds it, and the figures the changed spells give otherwise for each setup, the most changed
// first, as the core orders them.
import { $, element, fillList, show } from './dom.js';
import { listOptions } from './keep.js';
import { clear, table } from './tables.js';
import { words } from './words.js';

const pickers = { before: 'liste-avant', after: 'liste-apres' };
const q = text => `« ${text} »`;

export function changesView(actions) {
  for (const [side, id] of Object.entries(pickers)) {
    $(id).addEventListener('change', () => actions.pickLists({ [side]: $(id).value }));
  }
  let drawn = '';
  return ({ kept, lists }) => {
    const now = JSON.stringify([kept.files.map(f => f.name), lists]);
    if (now === drawn) return;
    drawn = now;
    for (const [side, id] of Object.entries(pickers)) {
      $(id).replaceChildren(...listOptions(kept.files));
      $(id).value = lists[side];
    }
  };
}

// One spell's change in a line: its names (both when they differ), the core's word, each field's old and new value.
function changeLine({ word, oldName, newName, fields }) {
  const names = oldName !== null && newName !== null && oldName !== newName
    ? `${q(oldName)} → ${q(newName)}` : q(newName ?? oldName);
  const values = fields.map(f => `${f.heading} : ${show(f.old) || '—'} → ${show(f.new) || '—'}`);
  return `${names} : ${[word, ...values].join(' ; ')}`;
}

// The worker's result: {records, figures, pairs}, pairs the setups' names, in figures' order.
export function showChanges({ records, figures, pairs }) {
  const lines = records.error ? [`${words(records.error)}.`]
    : records.length ? records.map(changeLine) : ['Aucun changement entre ces deux listes.'];
  fillList($('fiches'), lines);
  if (records.error || !records.length || figures.error || !figures.rows.length) {
    clear($('changements'));
    const said = records.error || !records.length ? ''
      : figures.error ? `${words(figures.error)}.` : 'Aucun chiffre ne change pour ces configurations.';
    return said && $('changements').append(element('caption', { textContent: said }));
  }
  const at = figures.columns.findIndex(c => c.name === 'setup');
  const rows = figures.rows.map(row => Object.assign([...row], { [at]: pairs[row[at]] }));
  table($('changements'), { ...figures, rows }, { hidden: ['oldIndex', 'newIndex'] });
}
