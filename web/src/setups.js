// Up to six setups side by side for the chosen spell, each a character against an opponent
// (the one on screen or a saved one), as vyr diff gives them; and the compare table's filters.
import { $, element } from './dom.js';
import { fieldsOf, saved } from './keep.js';

const ROWS = 6, SHOWN = '\u0001';  // the value of "the one on screen" among the saved names
const effects = { effet: 'Dégâts ou soin', bonus: 'Bonus', texte: 'Texte seulement' };

export function buildSetups(page) {
  const rows = [];
  for (let r = 0; r < ROWS; ++r) {
    const letter = String.fromCharCode(65 + r), pick = group => element('select', { id: `cfg-${group}-${r}` });
    const [character, opponent] = [pick('character'), pick('opponent')];
    rows.push(element('li', {}, element('label', { htmlFor: character.id, textContent: `${letter} : personnage` }),
      character, element('label', { htmlFor: opponent.id, textContent: 'contre' }), opponent));
    character.addEventListener('change', page.update);
    opponent.addEventListener('change', page.update);
  }
  $('configs').replaceChildren(...rows);
  const kinds = page.vyr.kinds(), all = element('option', { value: '', textContent: 'Tous' });
  $('filtre-element').replaceChildren(all, ...kinds.elements.map(e => element('option', { value: e, textContent: e })));
  $('filtre-effet').replaceChildren(all.cloneNode(true),
    ...kinds.effects.map(e => element('option', { value: e, textContent: effects[e] })));
  for (const id of ['filtre-element', 'filtre-effet']) $(id).addEventListener('change', page.update);
}

// The choices follow the saved names; A starts as the setup on screen, the others unused.
function drawChoices(group) {
  for (let r = 0; r < ROWS; ++r) {
    const select = $(`cfg-${group}-${r}`), before = select.value || (r ? '' : SHOWN);
    const none = group === 'character' ? [element('option', { value: '', textContent: '—' })] : [];
    select.replaceChildren(...none, element('option', { value: SHOWN, textContent: 'affiché' }),
      ...saved(group).map(e => element('option', { value: e.name, textContent: e.name })));
    select.value = [...select.options].some(o => o.value === before) ? before : SHOWN;
  }
}

function inputsOf(page, group, name) {
  const now = page.values(), kept = saved(group).find(e => e.name === name)?.inputs ?? {};
  const value = f => (name === SHOWN ? now[f] : kept[f] ?? page.defaults[f]);
  return Object.fromEntries(fieldsOf(page, group).map(f => [f, value(f)]));
}

// The setups of the rows in use, A first, for the core's diff.
let names = null;
export function setupsOf(page) {
  const now = JSON.stringify([saved('character').map(e => e.name), saved('opponent').map(e => e.name)]);
  if (now !== names) {
    names = now;
    drawChoices('character');
    drawChoices('opponent');
  }
  const used = [...Array(ROWS).keys()].filter(r => $(`cfg-character-${r}`).value);
  return used.map(r => ({ ...inputsOf(page, 'character', $(`cfg-character-${r}`).value),
    ...inputsOf(page, 'opponent', $(`cfg-opponent-${r}`).value) }));
}

export const filtersOf = () => ({ only: $('filtre-element').value, effect: $('filtre-effet').value });
