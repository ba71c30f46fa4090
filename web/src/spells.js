import { $, element } from './dom.js';
import { keepFile } from './keep.js';
import { words } from './words.js';

// The list shows the spells whose name holds the search, folded by the core as vyr folds it.
function choices(page) {
  const chosen = $('sort').value;
  const option = i => element('option', { value: i, textContent: page.spells[i], selected: String(i) === chosen });
  $('sort').replaceChildren(...page.vyr.find($('recherche').value).map(option));
}

export function filter(page) {
  choices(page);
  page.update();
}

// A new list of names; the spell named chosenName stays chosen, else the first.
export function useList(page, names, chosenName) {
  page.spells = names;
  $('sorts').replaceChildren(...names.map((name, i) => element('option', { value: i, textContent: name })));
  $('recherche').value = '';
  choices(page);
  $('sort').value = Math.max(0, page.spells.indexOf(chosenName));
  page.update();
}

// A spell file of the player's, given to the core as bytes (and to the worker's); a file the
// core refuses leaves the list as it was, with the core's reason.
export async function open(page, file) {
  $('fichier').value = '';  // the same file may be chosen again
  if (!file) return;
  const bytes = new Uint8Array(await file.arrayBuffer());
  const names = page.vyr.load(bytes, file.name);
  if (names.error) return page.say(`${words(names.error)}. La liste actuelle est conservée.`);
  keepFile(page, file.name, bytes, names);
}
