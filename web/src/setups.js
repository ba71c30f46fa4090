// Setups side by side for the chosen spell (as many as the core takes), each a character
// against an opponent (the one on screen or a saved one), as vyr diff gives them; and the
// compare table's filters. Drawn from the state; each choice raises an action.
import { $, element } from './dom.js';
import { SHOWN, groupLabels } from './state.js';

const effects = { effet: 'Dégâts ou soin', bonus: 'Bonus', texte: 'Texte seulement' };
const lists = { character: 'characters', opponent: 'opponents' };

export function setupsView(fields, kinds, actions) {
  const rows = Array.from({ length: fields.setupLimit }, (_, r) => {
    const letter = String.fromCharCode(65 + r), pick = group => {
      const select = element('select', { id: `cfg-${group}-${r}` });
      select.addEventListener('change', () => actions.setup(r, group, select.value));
      return select;
    };
    const [character, opponent] = [pick('character'), pick('opponent')];
    // A change of one input over the row's setup ("Puissance Feu" "+10"), which the core applies.
    const change = element('select', { id: `cfg-change-${r}` }, element('option', { value: '', textContent: 'aucun' }),
      ...Object.entries(groupLabels).map(([group, label]) => element('optgroup', { label },
        ...fields.inputs.filter(f => f.group === group)
          .map(f => element('option', { value: f.name,
            textContent: group === 'opponent' ? `${label} : ${f.pageLabel}` : f.pageLabel })))));
    change.addEventListener('change', () => actions.setup(r, 'name', change.value));
    const value = element('input', { id: `cfg-value-${r}`, type: 'text', size: 8, placeholder: '+10, -5 ou 50' });
    value.addEventListener('input', () => actions.setup(r, 'value', value.value));
    return element('li', {}, element('label', { htmlFor: character.id, textContent: `${letter} : personnage` }),
      character, element('label', { htmlFor: opponent.id, textContent: 'contre' }), opponent,
      element('label', { htmlFor: change.id, textContent: 'changement' }), change,
      element('label', { htmlFor: value.id, textContent: 'de' }), value);
  });
  $('configs').replaceChildren(...rows);
  const all = element('option', { value: '', textContent: 'Tous' });
  $('filtre-element').replaceChildren(all, ...kinds.elements.map(e => element('option', { value: e, textContent: e })));
  $('filtre-effet').replaceChildren(all.cloneNode(true),
    ...kinds.effects.map(e => element('option', { value: e, textContent: effects[e] })));
  $('filtre-element').addEventListener('change', () => actions.filter('only', $('filtre-element').value));
  $('filtre-effet').addEventListener('change', () => actions.filter('effect', $('filtre-effet').value));
  let drawn = '';

  return ({ kept, setups }) => {
    const names = group => kept[lists[group]].map(e => e.name), now = JSON.stringify([setups, kept.characters
      .map(e => e.name), kept.opponents.map(e => e.name)]);
    if (now === drawn) return;
    drawn = now;
    for (const group in lists) {
      const none = group === 'character' ? [element('option', { value: '', textContent: '—' })] : [];
      setups.forEach((row, r) => {
        const select = $(`cfg-${group}-${r}`);
        const shown = element('option', { value: SHOWN, textContent: 'affiché' });
        select.replaceChildren(...none.map(o => o.cloneNode(true)), shown,
          ...names(group).map(name => element('option', { value: name, textContent: name })));
        select.value = row[group];
      });
    }
    setups.forEach(({ change }, r) => {
      $(`cfg-change-${r}`).value = change.name;
      if ($(`cfg-value-${r}`).value !== change.value) $(`cfg-value-${r}`).value = change.value;
    });
  };
}
