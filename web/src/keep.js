// The player's own things on screen: the spell lists (the sample and the kept files), what the
// checks found in the active one, and the named characters and opponents. The fields always show
// one character and one opponent, or a shared link's setup, which is saved only when the player
// says so. Everything here is drawn from the state; each control raises an action.
import { $, download, element } from './dom.js';
import { findingText } from './findings.js';
import { groupLabels as labels } from './state.js';

const lists = { character: 'characters', opponent: 'opponents' };
// The spell lists to choose from: the sample (its value '') and the kept files.
export const listOptions = files => [element('option', { value: '', textContent: "Liste d'exemple" }),
  ...files.map(f => element('option', { value: f.name, textContent: f.name }))];

export function keptView(actions) {
  for (const group in labels) {
    const button = (textContent, action) => element('button',
      { type: 'button', id: `${action}-${group}`, textContent, onclick: () => actions.entry(group, action) });
    const select = element('select', { id: `choix-${group}` });
    select.addEventListener('change', () => select.value && actions.chooseEntry(group, select.value));
    const name = element('input', { id: `nom-${group}` });
    name.addEventListener('input', () => actions.nameDraft(group, name.value));
    $(`profil-${group}`).replaceChildren(element('label', { htmlFor: select.id, textContent: labels[group] }), select,
      element('label', { htmlFor: name.id, textContent: 'Nom' }), name,
      button('Renommer', 'rename'), button('Enregistrer sous ce nom', 'add'), button('Supprimer', 'delete'));
  }
  $('liste').addEventListener('change', () => actions.chooseList($('liste').value));
  $('retirer').addEventListener('click', () => actions.removeList());
  // A new version of a kept list: compared with the old one in its section, or put in its place.
  let newer = null;
  $('voir-changements').addEventListener('click', () => {
    actions.pickLists({ before: newer.kept, after: newer.beside });
    $('section-changements').scrollIntoView();
    $('section-changements').focus({ preventScroll: true });
  });
  $('remplacer').addEventListener('click', () => actions.replaceList());
  // Exporter: a file to save; Importer: one read back, merged.
  $('exporter').addEventListener('click', () =>
    download(actions.exported(), 'application/json', 'vyr-degats-export.json'));
  $('importer').addEventListener('change', async () => {
    const file = $('importer').files[0];
    $('importer').value = '';
    if (file) actions.importKept(await file.text());
  });
  // What each part was drawn from: typing changes the kept inputs, not the names shown.
  const drawn = {};
  const changed = (part, now) => drawn[part] !== (drawn[part] = JSON.stringify(now));

  return ({ kept, linked, drafts, findings, list, newer: offered }, what) => {
    if (what.has('newer')) {
      newer = offered;
      $('nouvelle-version').hidden = !newer;
      const said = newer && `« ${newer.beside} » est une nouvelle version de « ${newer.kept} ».`;
      $('texte-version').textContent = said || '';
    }
    for (const group in labels) {
      const names = kept[lists[group]].map(e => e.name);
      if (changed(group, [names, kept[group], linked[group]])) {
        const options = names.map(name => element('option', { value: name, textContent: name }));
        const link = element('option', { value: '', textContent: 'Lien partagé (non enregistré)' });
        if (linked[group]) options.unshift(link);
        $(`choix-${group}`).replaceChildren(...options);
        $(`choix-${group}`).value = linked[group] ? '' : kept[group];
      }
      if ($(`nom-${group}`).value !== drafts[group]) $(`nom-${group}`).value = drafts[group];
    }
    if (changed('files', [kept.files.map(f => f.name), kept.activeFile])) {
      $('liste').replaceChildren(...listOptions(kept.files));
      $('liste').value = kept.activeFile;
      $('retirer').disabled = !kept.activeFile;
    }
    if (!what.has('list')) return;
    $('constats').hidden = !findings.length;
    $('constats').open = false;
    $('voir-constats').textContent = `Voir les remarques sur « ${kept.activeFile} » (${findings.length})`;
    $('liste-constats').replaceChildren(...findings.map(f => element('li', { textContent: findingText(f) })));
  };
}
