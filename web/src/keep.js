// The player's own things, kept in the browser (store.js): spell files, named characters and
// named opponents. The fields on screen always show one character and one opponent, saved as
// they change; a shared link shows its own setup instead, saved only when the player says so.
import { $, element } from './dom.js';
import { useList } from './spells.js';
import { load, save, toBase64, fromBase64 } from './store.js';
import { findingText, findingsLine } from './findings.js';

// list and chosen: the state's members; fresh: the name of the first one.
const groups = {
  character: { list: 'characters', chosen: 'character', label: 'Personnage', fresh: 'Mon personnage' },
  opponent: { list: 'opponents', chosen: 'opponent', label: 'Adversaire', fresh: 'Mon adversaire' },
};
export const keep = { state: null, linked: { character: false, opponent: false } };

// The opponent is the box holding the resistances; the character, every other input.
export const fieldsOf = (page, group) => Object.keys(page.inputs).filter(name =>
  (page.inputs[name].closest('fieldset') === $('fireResist').closest('fieldset')) === (group === 'opponent'));
const valuesOf = (page, group) =>
  Object.fromEntries(fieldsOf(page, group).map(name => [name, page.inputs[name].value]));
const entry = group => keep.state[groups[group].list].find(e => e.name === keep.state[groups[group].chosen]);
export const saved = group => keep.state[groups[group].list];

function store(page) {
  if (!save(keep.state)) {
    page.say("Le navigateur refuse d'enregistrer : rien de plus ne sera gardé pour la prochaine visite.");
  }
}

// The field values of a saved entry, or the defaults for the names it lacks.
function fill(page, group, inputs) {
  for (const name of fieldsOf(page, group)) page.inputs[name].value = inputs[name] ?? page.defaults[name];
}

function drawChoice(group) {
  const g = groups[group], select = $(`choix-${group}`);
  const options = saved(group).map(e => element('option', { value: e.name, textContent: e.name }));
  const linked = element('option', { value: '', textContent: 'Lien partagé (non enregistré)' });
  if (keep.linked[group]) options.unshift(linked);
  select.replaceChildren(...options);
  select.value = keep.linked[group] ? '' : keep.state[g.chosen];
  $(`nom-${group}`).value = keep.linked[group] ? '' : keep.state[g.chosen];
}

function choose(page, group, name) {
  keep.state[groups[group].chosen] = name;
  keep.linked[group] = false;
  fill(page, group, entry(group)?.inputs ?? {});
  drawChoice(group);
  store(page);
  page.update();
}

// Renommer, Enregistrer sous ce nom (a new entry holding the fields: a copy, or the link's
// setup) and Supprimer.
function act(page, group, action) {
  const g = groups[group], name = $(`nom-${group}`).value.trim(), list = saved(group);
  const taken = list.some(e => e.name === name);
  if (action !== 'delete' && (!name || taken)) {
    return page.say(name ? `Le nom « ${name} » est déjà pris : choisissez-en un autre.` : "Donnez d'abord un nom.");
  }
  if (action === 'rename' && !keep.linked[group]) {
    entry(group).name = name;
    keep.state[g.chosen] = name;
  } else if (action === 'delete') {
    if (keep.linked[group]) return choose(page, group, keep.state[g.chosen]);
    keep.state[g.list] = list.filter(e => e.name !== keep.state[g.chosen]);
    if (!keep.state[g.list].length) keep.state[g.list].push({ name: g.fresh, inputs: {} });
    return choose(page, group, keep.state[g.list][0].name);
  } else {
    list.push({ name, inputs: valuesOf(page, group) });
    keep.state[g.chosen] = name;
    keep.linked[group] = false;
  }
  drawChoice(group);
  store(page);
  page.say(`${g.label} « ${name} » enregistré.`);
}

function buildChoice(page, group) {
  const g = groups[group], box = $(`profil-${group}`);
  const button = (textContent, action) => element('button',
    { type: 'button', id: `${action}-${group}`, textContent, onclick: () => act(page, group, action) });
  const select = element('select', { id: `choix-${group}` });
  select.addEventListener('change', () => select.value && choose(page, group, select.value));
  box.replaceChildren(element('label', { htmlFor: select.id, textContent: g.label }), select,
    element('label', { htmlFor: `nom-${group}`, textContent: 'Nom' }), element('input', { id: `nom-${group}` }),
    button('Renommer', 'rename'), button('Enregistrer sous ce nom', 'add'), button('Supprimer', 'delete'));
}

// Every group shown from the fields (as they change), unless a link's setup is on screen; kept in
// memory at once, written to the browser by storeState.
export function rememberFields(page, spellName) {
  if (!keep.state) return;
  for (const group in groups) if (!keep.linked[group]) entry(group).inputs = valuesOf(page, group);
  if (!keep.linked.character && !keep.linked.opponent && spellName) keep.state.spell = spellName;
}

export const storeState = page => keep.state && store(page);

// A link's inputs on screen in place of the groups it carries, nothing saved.
export function showLinked(page, inputs, carried) {
  for (const group of carried) {
    keep.linked[group] = true;
    fill(page, group, inputs);
    drawChoice(group);
  }
}

// Spell files: the sample list ('') and the player's, by file name; the active one is shown.
function drawFiles() {
  $('liste').replaceChildren(element('option', { value: '', textContent: "Liste d'exemple" }),
    ...keep.state.files.map(f => element('option', { value: f.name, textContent: f.name })));
  $('liste').value = keep.state.activeFile;
  $('retirer').disabled = !keep.state.activeFile;
}

// A list loaded into the page's core: the sample ('') or a kept file, read in the form it was
// opened with (guessed for a file kept without one). What the core gave ({names, form} or an
// error) and the bytes, for the analyses' own copy of the core.
function loadList(page, fileName) {
  const file = keep.state.files.find(f => f.name === fileName);
  const bytes = file ? fromBase64(file.bytes) : page.vyr.sample();
  return { loaded: page.vyr.load(bytes, fileName || "liste d'exemple", file ? file.form ?? '' : 'scrambled'), bytes };
}

// What the checks found in the list just loaded: every finding behind "Voir", and the line
// of those that change what the page shows ('' for none, and for the sample list).
function report(page, fileName) {
  const findings = fileName ? page.vyr.findings() : [];
  $('constats').hidden = !findings.length;
  $('constats').open = false;
  $('voir-constats').textContent = `Voir les remarques sur « ${fileName} » (${findings.length})`;
  $('liste-constats').replaceChildren(...findings.map(f => element('li', { textContent: findingText(f) })));
  const line = findingsLine(findings);
  return line && ` ${line[0].toUpperCase()}${line.slice(1)}.`;
}

// A new list on screen: the chosen spell stays when the list has a spell of that name;
// otherwise the message says which spell is shown now.
function showList(page, { names, form }, bytes, said) {
  const before = page.spells[page.spell()];
  page.analyses.list(bytes, form);
  page.listVersion = (page.listVersion ?? 0) + 1;
  useList(page, names, before);
  const now = page.spells[page.spell()];
  const moved = before && before !== now
    ? `« ${before} » n'est pas dans cette liste : « ${now} » est affiché. ` : '';
  page.say(moved + said);
}

function activate(page, fileName) {
  const { loaded, bytes } = loadList(page, fileName);
  if (loaded.error) return page.say(`« ${fileName} » ne se charge plus : la liste affichée est conservée.`);
  keep.state.activeFile = fileName;
  drawFiles();
  store(page);
  const said = fileName ? `Liste « ${fileName} » : ${loaded.names.length} sorts.` : "Liste d'exemple.";
  showList(page, loaded, bytes, said + report(page, fileName));
}

// A file the player opened, once it loads: kept under its name (replacing one of the same
// name) with the form it was read in, so that the next visit reads it alike; active, shown.
export function keepFile(page, name, bytes, loaded) {
  const { names, form, garbled } = loaded;
  keep.state.files = keep.state.files.filter(f => f.name !== name).concat({ name, bytes: toBase64(bytes), form });
  keep.state.activeFile = name;
  drawFiles();
  store(page);
  const s = names.length > 1 ? 's' : '';
  const plain = form === 'plain' ? ' liste en clair (non brouillée), lue telle quelle :' : '';
  const odd = garbled ? ' La plupart des noms contiennent des caractères de contrôle : le fichier est peut-être '
    + "abîmé, ou n'est pas une liste de sorts." : '';
  const said = `« ${name} » :${plain} ${names.length} sort${s} chargé${s}.${odd}${report(page, name)}`;
  showList(page, loaded, bytes, said);
}

// The kept state on screen: the active list, the chosen character and opponent, the spell.
export function start(page) {
  const { state, said } = load(code => {
    const setup = page.vyr.decode(code);
    if (setup.error) return null;
    const pick = group => Object.fromEntries(fieldsOf(page, group).map(name => [name, setup[name]]));
    const [character, opponent] = [groups.character.fresh, groups.opponent.fresh];
    return { characters: [{ name: character, inputs: pick('character') }], character,
      opponents: [{ name: opponent, inputs: pick('opponent') }], opponent };
  });
  keep.state = state;
  for (const group in groups) {
    const g = groups[group];
    if (!state[g.list].length) state[g.list].push({ name: g.fresh, inputs: {} });
    if (!entry(group)) state[g.chosen] = state[g.list][0].name;
    buildChoice(page, group);
    fill(page, group, entry(group).inputs);
    drawChoice(group);
  }
  let list = loadList(page, state.activeFile), lost = '';
  if (list.loaded.error) {
    lost = `« ${state.activeFile} » ne se charge plus : la liste d'exemple est affichée. `;
    [state.activeFile, list] = ['', loadList(page, '')];
  }
  page.analyses.list(list.bytes, list.loaded.form);
  drawFiles();
  $('liste').addEventListener('change', () => activate(page, $('liste').value));
  $('retirer').addEventListener('click', () => {
    const name = keep.state.activeFile;
    keep.state.files = keep.state.files.filter(f => f.name !== name);
    activate(page, '');
    page.say(`« ${name} » retiré ; la liste d'exemple est affichée.`);
  });
  useList(page, list.loaded.names, state.spell);
  if (said || lost) page.say(lost + (said ?? ''));
}
