// Share links: #config=CODE&sort=NAME, and &adversaire=non when the opponent stays out of it.
// Opening one shows its setup and spell without saving anything (the state's openLink); its
// fragment then leaves the address, so that a reload shows the player's own state again.
import { $ } from './dom.js';

export function linkView(vyr, actions) {
  // The link of what is shown.
  const current = ({ fields, inputs, withOpponent, list, spell }) => {
    const carried = fields.inputs.filter(f => withOpponent || f.group === 'character')
      .map(f => [f.name, inputs[f.name]]);
    const more = withOpponent ? '' : '&adversaire=non';
    return `${location.href.split('#')[0]}#config=${vyr.code(Object.fromEntries(carried))}`
      + `&sort=${encodeURIComponent(list.names[spell] ?? '')}${more}`;
  };
  const openLink = () => {
    const fragment = location.hash.slice(1);
    if (!new URLSearchParams(fragment).has('config')) return;
    history.replaceState(null, '', location.href.split('#')[0]);
    actions.openLink(fragment);
  };
  // The link copied, or handed to the system's share sheet where a phone's browser offers one.
  async function copy() {
    const url = current(actions.get());
    if (navigator.share && matchMedia('(pointer: coarse)').matches) {
      try {
        return await navigator.share({ title: 'Vyr Dégats', url });
      } catch { /* dismissed or refused: copy instead */ }
    }
    try {
      await navigator.clipboard.writeText(url);
      actions.say('Lien copié : collez-le pour partager cette configuration.');
    } catch {
      actions.say('Copie refusée par le navigateur : le bouton « Copier le lien » est aussi un lien '
        + "(copier l'adresse).");
    }
  }
  $('partager').addEventListener('click', event => { event.preventDefault(); copy(); });
  $('avec-adversaire').addEventListener('change', () => actions.shareOpponent($('avec-adversaire').checked));
  addEventListener('hashchange', openLink);
  openLink();
  // The button is also a plain link to copy: it follows what is shown, once a burst of changes is painted.
  return state => {
    $('avec-adversaire').checked = state.withOpponent;
    $('partager').href = current(state);
  };
}
