// Share links: #config=CODE&sort=NAME, and &adversaire=non when the opponent stays out of it.
// Opening one shows its setup and spell without saving anything; its fragment then leaves
// the address, so that a reload shows the player's own state again.
import { $ } from './dom.js';
import { useList } from './spells.js';
import { fieldsOf, showLinked } from './keep.js';
import { words } from './words.js';

function link(page, inputs, spellName) {
  const withOpponent = $('avec-adversaire').checked;
  const carried = withOpponent ? inputs : Object.fromEntries(fieldsOf(page, 'character').map(n => [n, inputs[n]]));
  const more = withOpponent ? '' : '&adversaire=non';
  const spell = encodeURIComponent(spellName ?? '');
  return `${location.href.split('#')[0]}#config=${page.vyr.code(carried)}&sort=${spell}${more}`;
}

// The link of what is shown, on the button (which is also a plain link to copy).
const current = page => link(page, page.values(), page.spells[page.spell()]);
export function showLink(page) {
  $('partager').href = current(page);
}

// A link's setup and spell on screen; a damaged code or a spell the active list lacks is
// said in one line and changes nothing.
export function openLink(page, fragment) {
  const params = new URLSearchParams(fragment);
  if (!params.has('config')) return;
  history.replaceState(null, '', location.href.split('#')[0]);
  const setup = page.vyr.decode(params.get('config')), spellName = params.get('sort') ?? '';
  if (setup.error) return page.say(`${words(setup.error)} ; rien n'a changé.`);
  if (spellName && !page.spells.includes(spellName)) {
    return page.say(`Le lien demande le sort « ${spellName} », absent de la liste active : rien n'a changé.`);
  }
  showLinked(page, setup, params.get('adversaire') === 'non' ? ['character'] : ['character', 'opponent']);
  useList(page, page.spells, spellName || page.spells[page.spell()]);
  page.say('Configuration du lien affichée ; vos personnages et adversaires restent tels quels '
    + '(« Enregistrer sous ce nom » la garde).');
}

// The link copied, or handed to the system's share sheet where a phone's browser offers one.
export async function copyLink(page) {
  const url = current(page);
  if (navigator.share && matchMedia('(pointer: coarse)').matches) {
    try {
      return await navigator.share({ title: 'Vyr Dégats', url });
    } catch { /* dismissed or refused: copy instead */ }
  }
  try {
    await navigator.clipboard.writeText(url);
    page.say('Lien copié : collez-le pour partager cette configuration.');
  } catch {
    page.say("Copie refusée par le navigateur : le bouton « Copier le lien » est aussi un lien (copier l'adresse).");
  }
}
