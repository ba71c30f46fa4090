import { $, element } from './dom.js';

// The spell list, searched as the player types (the core folds both sides as vyr does), the
// other spells of the chart, and spell files opened or dropped: a file that looks like no spell
// list waits for the player's word in the box beside the file controls, whose first button takes
// the focus, which goes back where it was once answered.
export function spellsView(actions) {
  const open = async file => {
    $('fichier').value = '';  // the same file may be chosen again
    if (file) actions.openFile(file.name, new Uint8Array(await file.arrayBuffer()));
  };
  $('recherche').addEventListener('input', () => actions.search($('recherche').value));
  const chosen = () => ($('sort').value === '' ? null : Number($('sort').value));
  $('sort').addEventListener('change', () => actions.chooseSpell(chosen()));
  $('fichier').addEventListener('change', () => open($('fichier').files[0]));
  document.addEventListener('dragover', event => event.preventDefault());
  document.addEventListener('drop', event => { event.preventDefault(); open(event.dataTransfer.files[0]); });
  $('ouvrir-quand-meme').addEventListener('click', () => actions.answer(true));
  $('annuler').addEventListener('click', () => actions.answer(false));
  let back = null;

  return ({ list, found, spell, search, question }, what) => {
    if (what.has('list')) {
      $('sorts').replaceChildren(...list.names.map((name, i) => element('option', { value: i, textContent: name })));
    }
    if (what.has('list') || what.has('found')) {
      const option = i => element('option', { value: i, textContent: list.names[i], selected: i === spell });
      $('sort').replaceChildren(...found.map(option));
    }
    if (what.has('spell') && $('sort').value !== String(spell ?? '')) $('sort').value = spell ?? '';
    if (what.has('search') && $('recherche').value !== search) $('recherche').value = search;
    if (!what.has('question')) return;
    $('question').textContent = question?.text ?? '';
    if (question && $('confirmer').hidden) {
      back = document.activeElement;
      $('confirmer').hidden = false;
      $('ouvrir-quand-meme').focus();
    } else if (!question) {
      $('confirmer').hidden = true;
      if (back?.isConnected && document.activeElement?.closest('#confirmer')) back.focus();
    }
  };
}
