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

// A spell file of the player's, given to the core as bytes (and to the worker's). The core
// guesses how to read it; one that looks like no spell list is opened only once the player
// confirms, then read as the program reads its data file. A file the core refuses leaves the
// list as it was, with the reason.
export async function open(page, file) {
  $('fichier').value = '';  // the same file may be chosen again
  if (!file) return;
  const bytes = new Uint8Array(await file.arrayBuffer());
  settle();
  const loaded = page.vyr.load(bytes, file.name, '');
  if (loaded.error?.kind === 'notSpellList') return ask(page, file.name, bytes, words(loaded.error));
  keep(page, file.name, bytes, loaded);
}

function keep(page, name, bytes, loaded) {
  if (loaded.error) return page.say(`${words(loaded.error)}. La liste actuelle est conservée.`);
  keepFile(page, name, bytes, loaded);
}

// The question in the page, beside the file controls: its first button takes the focus, which goes
// back where it was once answered.
let settle = () => {};
function ask(page, name, bytes, why) {
  const box = $('confirmer'), back = document.activeElement;
  const question = `${why}. L'ouvrir quand même, lu comme un fichier de données brouillé ?`;
  $('question').textContent = question;
  box.hidden = false;
  page.say(question);
  settle = answer => {
    settle = () => {};
    box.hidden = true;
    $('question').textContent = '';
    if (back?.isConnected && document.activeElement?.closest('#confirmer')) back.focus();
    if (answer) keep(page, name, bytes, page.vyr.load(bytes, name, 'scrambled'));
    else if (answer === false) page.say(`« ${name} » n'est pas ouvert : la liste actuelle est conservée.`);
  };
  $('ouvrir-quand-meme').onclick = () => settle(true);
  $('annuler').onclick = () => settle(false);
  $('ouvrir-quand-meme').focus();
}
