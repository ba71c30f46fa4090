// The page's state and its one owner. Everything the page shows is read from the state this
// module holds, and changes only through the named actions below, which call the core (vyr) and
// the browser's storage (store.js); subscribers are told what changed. The views render from it
// and raise actions with what the player typed or chose; none reads the state back from the page.
import { besideName, empty, load, merge, readable, reread, sameEntries, save, fromBase64, toBase64 } from './store.js';
import { words } from './words.js';
import { findingsLine } from './findings.js';

// The name of the page's export format.
const EXPORT = 'vyr-degats/export';
// A setup row's value for "the one on screen", among the saved names.
export const SHOWN = '\u0001';
// list and chosen: the kept state's members; fresh: the name of the first one.
const groups = {
  character: { list: 'characters', chosen: 'character', label: 'Personnage', fresh: 'Mon personnage' },
  opponent: { list: 'opponents', chosen: 'opponent', label: 'Adversaire', fresh: 'Mon adversaire' },
};
// The page's name of each group of inputs.
export const groupLabels = Object.fromEntries(Object.entries(groups).map(([group, g]) => [group, g.label]));
const same = (a, b) => a === b || JSON.stringify(a) === JSON.stringify(b);

// A group's fields of a saved entry (its defaults for the names it lacks), or of those on screen (SHOWN).
function valuesOf(state, group, name) {
  const kept = state.kept[groups[group].list].find(e => e.name === name)?.inputs ?? {};
  return Object.fromEntries(state.fields.inputs.filter(f => f.group === group)
    .map(f => [f.name, name === SHOWN ? state.inputs[f.name] : kept[f.name] ?? f.default]));
}

// The setups in use (a character chosen), A first, for the core's diff: {inputs, change}, change
// null or {name, value} (the core applies it).
export function setupsOf(state) {
  return state.setups.filter(row => row.character).map(row => ({
    inputs: { ...valuesOf(state, 'character', row.character), ...valuesOf(state, 'opponent', row.opponent) },
    change: row.change.name && row.change.value.trim() ? row.change : null,
  }));
}

// The setups two lists are compared for, {name, inputs}: the fields on screen first (under the names of the saved
// character and opponent they are, else « affiché »), then each saved character against each saved opponent.
export function pairsOf(state) {
  const pair = (character, opponent) => ({ name: `${character} contre ${opponent}`,
    inputs: { ...valuesOf(state, 'character', character), ...valuesOf(state, 'opponent', opponent) } });
  const saved = state.kept.characters.flatMap(c => state.kept.opponents.map(o => pair(c.name, o.name)));
  const shown = saved.find(p => state.fields.inputs.every(f => p.inputs[f.name] === state.inputs[f.name]))
    ?? { name: 'affiché', inputs: state.inputs };
  return [shown, ...saved.filter(p => p !== shown)];
}

// A list as the core reads it, {name, bytes, form}: a kept file, in the form it was opened with (guessed for a
// file kept without one), else the sample, whose bytes are given.
export function listFile(files, fileName, sample) {
  const file = files.find(f => f.name === fileName);
  return file ? { name: fileName, bytes: fromBase64(file.bytes), form: file.form ?? '' }
    : { name: "liste d'exemple", bytes: sample, form: 'scrambled' };
}

// A new version of a kept list, said with what it changes: the core's summary for the fields on screen.
function newerLine(kept, summary) {
  const said = ` Nouvelle version de « ${kept} », gardée à côté`;
  if (summary.error) return `${said}.`;
  const kinds = summary.counts.filter(c => c.count)
    .map((c, k) => `${c.count}${k ? '' : ` sort${c.count > 1 ? 's' : ''}`} ${c.word}${c.count > 1 ? 's' : ''}`);
  if (!kinds.length) return `${said} : aucun sort ne change.`;
  const n = summary.otherFigures, figures = n ? `${n} sort${n > 1 ? 's donnent' : ' donne'}` : 'aucun sort ne donne';
  return `${said} : ${kinds.join(', ')} ; pour le personnage et l'adversaire affichés, ${figures} `
    + "d'autres chiffres.";
}

export function createState(vyr) {
  const fields = Object.freeze(vyr.fields());
  const groupOf = Object.fromEntries(fields.inputs.map(f => [f.name, f.group]));
  const pick = (inputs, group) =>
    Object.fromEntries(fields.inputs.filter(f => f.group === group).map(f => [f.name, inputs[f.name]]));
  // The group's fields from a saved entry's inputs (the defaults for the names it lacks).
  const filled = (inputs, group, from) => ({ ...inputs, ...Object.fromEntries(fields.inputs
    .filter(f => f.group === group).map(f => [f.name, from[f.name] ?? f.default])) });
  const listeners = [];
  let s = null, told = 0;
  // Storage: base is what this tab last read or wrote, synced the kept state then, mine the
  // choices this tab made since.
  let base = empty(), synced = null, mine = new Set();
  let pending = null;  // the file that waits for the player's word
  let undoing = null;  // what "Annuler" puts back after a deletion

  // One change: the result follows the inputs, the spell and the list; setup rows whose name
  // went back to the one on screen.
  function commit(changes) {
    const next = { ...s, ...changes }, what = new Set(Object.keys(changes));
    // "Annuler" after a deletion holds until the next change.
    if (!what.has('undo') && s.undo) {
      next.undo = null;
      undoing = null;
      what.add('undo');
    }
    // The offer of a new version holds while it is the list shown, the old one kept beside it.
    if (s.newer && !what.has('newer') && what.has('list')) {
      next.newer = null;
      what.add('newer');
    }
    if (!what.has('message') && s.message?.about.some(key => what.has(key))) {
      next.message = { text: '', n: ++told, about: [] };
      what.add('message');
    }
    if (what.has('inputs') || what.has('spell') || what.has('list')) {
      next.result = next.spell === null ? {} : vyr.run(next.spell, next.inputs);
      next.element = next.spell === null ? '' : vyr.element(next.spell);
      what.add('result');
    }
    if (what.has('kept')) {
      const known = (group, name) => name === SHOWN || name === ''
        || next.kept[groups[group].list].some(e => e.name === name);
      const rows = next.setups.map(row => ({ ...row,
        character: known('character', row.character) ? row.character : SHOWN,
        opponent: known('opponent', row.opponent) ? row.opponent : SHOWN }));
      if (!same(rows, next.setups)) {
        next.setups = rows;
        what.add('setups');
      }
      // A list no longer kept: the comparison shows the sample in its place, the offer of a new version goes.
      const kept = name => name === '' || next.kept.files.some(f => f.name === name);
      const lists = { before: kept(next.lists.before) ? next.lists.before : '',
        after: kept(next.lists.after) ? next.lists.after : '' };
      if (!same(lists, next.lists)) {
        next.lists = lists;
        what.add('lists');
      }
      if (next.newer && !(kept(next.newer.kept) && kept(next.newer.beside))) {
        next.newer = null;
        what.add('newer');
      }
    }
    s = Object.freeze(next);
    for (const listener of listeners) listener(s, what);
  }
  // A message and the state it speaks of (keys of the state): it goes when that state changes (a list's
  // message with the list, a name's with the name typed, a link's with its setup). One that speaks of no
  // state (a refusal, an import) stays until the next message.
  const message = (text, about = []) => ({ message: { text, n: ++told, about } });
  const say = text => commit(message(text));
  const chose = key => mine.add(key);

  // The spell kept for the next visit follows the one on screen, unless a link's setup is shown.
  function withSpell(spell, names, kept = s.kept, linked = s.linked) {
    if (linked.character || linked.opponent || names[spell] === undefined) return kept;
    if (kept.spell === names[spell] && kept.spellAt === spell) return kept;
    chose('spell');
    chose('spellAt');
    return { ...kept, spell: names[spell], spellAt: spell };
  }

  // A spell by its name, at the position given when the name is there (of namesakes, the one picked).
  const spellIn = (names, name, at) => (names[at] === name ? at : Math.max(0, names.indexOf(name)));

  // A list loaded into the core: the sample ('') or a kept file, read in the form it was opened
  // with (guessed for a file kept without one).
  function loadList(files, fileName) {
    const { name, bytes, form } = listFile(files, fileName, vyr.sample());
    return { loaded: vyr.load(bytes, name, form), bytes };
  }

  // A new list on screen: the chosen spell stays when the list has a spell of that name;
  // otherwise the message says which spell is shown now, then what the file's checks found (about: what
  // else it speaks of).
  function showList({ names, form }, bytes, fileName, said, kept, more = {}, about = []) {
    const before = s.list.names[s.spell], spell = spellIn(names, before, s.spell), now = names[spell];
    const moved = before && before !== now
      ? `« ${before} » n'est pas dans cette liste : « ${now} » est affiché. ` : '';
    const findings = fileName ? vyr.findings() : [], line = findingsLine(findings);
    const report = line && ` ${line[0].toUpperCase()}${line.slice(1)}.`;
    commit({ ...more, list: { names, bytes, form, version: s.list.version + 1 }, findings, search: '',
      found: vyr.find(''), spell, kept: withSpell(spell, names, kept), chart: { ...s.chart, others: [] },
      ...message(moved + said + report, [...(moved ? ['list', 'spell'] : ['list']), ...about]) });
  }

  function keepFile(name, bytes, loaded, more = {}) {
    if (loaded.error) {
      return commit({ ...more, ...message(`${words(loaded.error)}. La liste actuelle est conservée.`) });
    }
    const { names, form, garbled } = loaded, base64 = toBase64(bytes), original = name;
    const taken = n => s.kept.files.some(f => f.name === n);
    // The same bytes under a kept name only show that file again; other bytes keep both, as « NAME (2) »: a new
    // version, said with what it changes for the fields on screen.
    const again = s.kept.files.some(f => f.name === name && f.bytes === base64);
    let newer = null, changed = '';
    if (taken(name) && !again) {
      name = besideName(name, taken);
      newer = { kept: original, beside: name };
      changed = newerLine(original, vyr.changeSummary(listFile(s.kept.files, original), { bytes, name, form },
        s.inputs));
    }
    const files = again ? s.kept.files : [...s.kept.files, { name, bytes: base64, form }];
    chose('activeFile');
    const n = names.length > 1 ? 's' : '';
    const same = again ? " Déjà gardé à l'identique : il n'est pas gardé deux fois." : '';
    const plain = form === 'plain' ? ' liste en clair (non brouillée), lue telle quelle :' : '';
    const odd = garbled ? ' La plupart des noms contiennent des caractères de contrôle : le fichier est peut-être '
      + "abîmé, ou n'est pas une liste de sorts." : '';
    const said = `« ${name} » :${plain} ${names.length} sort${n} chargé${n}.${same}${changed}${odd}`;
    // What a new version changes holds for the fields on screen only.
    showList(loaded, bytes, name, said, { ...s.kept, files, activeFile: name }, newer ? { ...more, newer } : more,
      newer ? ['inputs', 'newer'] : []);
  }

  // A character or opponent chosen: its fields on screen, the link's setup (if shown) gone.
  function choose(group, name, kept = s.kept, more = {}) {
    const g = groups[group], linked = { ...s.linked, [group]: false };
    chose(g.chosen);
    const now = { ...kept, [g.chosen]: name };
    const inputs = filled(s.inputs, group, now[g.list].find(e => e.name === name)?.inputs ?? {});
    const drafts = { ...s.drafts, [group]: name };
    commit({ kept: withSpell(s.spell, s.list.names, now, linked), linked, inputs, drafts, ...more });
  }
  // "Annuler" offered beside a deletion's message, restore putting back what went: the commit that says the
  // deletion holds the offer, the next change withdraws it.
  const offerUndo = restore => {
    undoing = restore;
    return { undo: true };
  };

  // A kept state (read at start or merged from another tab) with a chosen entry in each group.
  function settled(kept, choices = kept) {
    const next = { ...kept };
    for (const g of Object.values(groups)) {
      if (!next[g.list].length) next[g.list] = [{ name: g.fresh, inputs: {} }];
      next[g.chosen] = choices[g.chosen];
      if (!next[g.list].some(e => e.name === next[g.chosen])) {
        next[g.chosen] = next[g.list][0].name;
        chose(g.chosen);
      }
    }
    return next;
  }

  // What another tab kept, taken in: this tab's choices stay; the fields follow their entries.
  function adopt(stored) {
    const kept = settled({ ...stored, activeFile: s.kept.activeFile, spell: s.kept.spell }, s.kept);
    let inputs = s.inputs;
    for (const [group, g] of Object.entries(groups)) {
      if (!s.linked[group]) inputs = filled(inputs, group, kept[g.list].find(e => e.name === kept[g.chosen]).inputs);
    }
    const drafts = Object.fromEntries(Object.entries(groups).map(([group, g]) =>
      [group, s.linked[group] || s.kept[g.chosen] === kept[g.chosen] ? s.drafts[group] : kept[g.chosen]]));
    const more = same(inputs, s.inputs) ? { drafts } : { drafts, inputs };
    // The list shown, written anew elsewhere (the workshop kept it): shown anew at once.
    const name = kept.activeFile, bytesOf = files => files.find(f => f.name === name)?.bytes;
    if (name && bytesOf(kept.files) && bytesOf(kept.files) !== bytesOf(s.kept.files)) {
      const { loaded, bytes } = loadList(kept.files, name);
      if (!loaded.error) {
        return showList(loaded, bytes, name, `Liste « ${name} » modifiée ailleurs : ${loaded.names.length} sorts.`,
          kept, more);
      }
    }
    commit({ kept, ...more });
  }

  const actions = {
    fields,
    get: () => s,
    subscribe: listener => listeners.push(listener),
    say,

    // The kept state on screen: the active list, the chosen character and opponent, the spell.
    start() {
      const { state, said } = load(code => {
        const setup = vyr.decode(code);
        if (setup.error) return null;
        const [character, opponent] = [groups.character.fresh, groups.opponent.fresh];
        return { characters: [{ name: character, inputs: pick(setup, 'character') }], character,
          opponents: [{ name: opponent, inputs: pick(setup, 'opponent') }], opponent };
      });
      base = reread() ?? empty();
      let kept = settled(state), list = loadList(kept.files, kept.activeFile), lost = '';
      if (list.loaded.error) {
        lost = `« ${kept.activeFile} » ne se charge plus : la liste d'exemple est affichée. `;
        [kept, list] = [{ ...kept, activeFile: '' }, loadList(kept.files, '')];
        chose('activeFile');
      }
      let inputs = Object.fromEntries(fields.inputs.map(f => [f.name, f.default]));
      for (const [group, g] of Object.entries(groups)) {
        inputs = filled(inputs, group, kept[g.list].find(e => e.name === kept[g.chosen]).inputs);
      }
      const { names, form } = list.loaded, spell = spellIn(names, kept.spell, kept.spellAt);
      const change = { name: '', value: '' };
      const setup = r => ({ character: r ? '' : SHOWN, opponent: SHOWN, change });
      s = {};
      commit({ fields, kept, linked: { character: false, opponent: false },
        drafts: { character: kept.character, opponent: kept.opponent },
        list: { names, bytes: list.bytes, form, version: 1 }, findings: [], search: '', found: vyr.find(''), spell,
        inputs, setups: Array.from({ length: fields.setupLimit }, (_, r) => setup(r)),
        sort: { column: 'index', descending: false }, filters: { only: '', effect: '' }, withOpponent: true,
        chart: { step: '10', from: '1', to: '200', series: fields.series[0]?.name ?? '', others: [], withTable: false },
        lists: { before: '', after: kept.activeFile }, newer: null,
        question: null, undo: null, ...message(lost + (said ?? ''), lost ? ['list'] : []) });
    },

    // A spell file of the player's, given to the core as bytes. The core guesses how to read it;
    // one that looks like no spell list is opened only once the player confirms, then read as
    // the program reads its data file. A file the core refuses leaves the list as it was.
    openFile(name, bytes) {
      const more = s.question ? { question: null } : {};
      const loaded = vyr.load(bytes, name, '');
      if (loaded.error?.kind === 'notSpellList') {
        pending = { name, bytes };
        const text = `${words(loaded.error)}. L'ouvrir quand même, lu comme un fichier de données brouillé ?`;
        return commit({ question: { text }, ...message(text) });
      }
      pending = null;
      keepFile(name, bytes, loaded, more);
    },
    answer(open) {
      const asked = pending;
      pending = null;
      if (!asked) return;
      const { name, bytes } = asked;
      if (open) return keepFile(name, bytes, vyr.load(bytes, name, 'scrambled'), { question: null });
      commit({ question: null, ...message(`« ${name} » n'est pas ouvert : la liste actuelle est conservée.`) });
    },
    chooseList(fileName) {
      const { loaded, bytes } = loadList(s.kept.files, fileName);
      if (loaded.error) return say(`« ${fileName} » ne se charge plus : la liste affichée est conservée.`);
      chose('activeFile');
      const said = fileName ? `Liste « ${fileName} » : ${loaded.names.length} sorts.` : "Liste d'exemple.";
      showList(loaded, bytes, fileName, said, { ...s.kept, activeFile: fileName });
    },
    removeList() {
      const name = s.kept.activeFile, all = s.kept.files, files = all.filter(f => f.name !== name);
      const { loaded, bytes } = loadList(files, '');
      chose('activeFile');
      const said = `Liste « ${name} » retirée ; la liste d'exemple est affichée.`;
      const undo = offerUndo(() => {
        const back = loadList(all, name);
        chose('activeFile');
        const kept = { ...s.kept, files: all, activeFile: name };
        showList(back.loaded, back.bytes, name, `Liste « ${name} » rétablie.`, kept);
      });
      showList(loaded, bytes, '', said, { ...s.kept, files, activeFile: '' }, undo);
    },
    // « Remplacer » on a new version: it takes the kept name and the old one goes; « Annuler » keeps both again.
    replaceList() {
      const { kept: name, beside } = s.newer, all = s.kept.files, active = s.kept.activeFile;
      const version = all.find(f => f.name === beside);
      const files = all.filter(f => f !== version).map(f => (f.name === name ? { ...version, name } : f));
      chose('activeFile');
      const said = `Liste « ${name} » remplacée par sa nouvelle version.`;
      const undo = offerUndo(() => {
        chose('activeFile');
        commit({ kept: { ...s.kept, files: all, activeFile: active }, newer: { kept: name, beside },
          ...message(`Liste « ${name} » rétablie ; sa nouvelle version reste sous « ${beside} ».`) });
      });
      commit({ kept: { ...s.kept, files, activeFile: name }, newer: null, ...message(said), ...undo });
    },
    // The two lists the comparison shows ({before, after}: file names, '' for the sample).
    pickLists: lists => commit({ lists: { ...s.lists, ...lists } }),
    // Everything the page keeps (files, characters, opponents, the choices) and what is shown, as one
    // text with its format's name and version, for another browser's "Importer".
    exported: () => JSON.stringify({ format: EXPORT, version: 1, kept: s.kept, inputs: s.inputs }),
    // An export merged into what is kept: an entry of a new name added, one of a kept name with the
    // same content skipped, another kept beside it as « NAME (2) »; nothing replaced. Says what it added.
    importKept(text) {
      let data = null;
      try {
        data = JSON.parse(text);
      } catch { /* said below */ }
      if (data?.format !== EXPORT || data.version !== 1 || !readable({ ...data.kept, version: 2 })) {
        return say("Ce fichier n'est pas un export de cette page : rien n'est importé.");
      }
      const kept = { ...s.kept }, added = [];
      for (const [key, what] of [['files', 'fichier'], ['characters', 'personnage'], ['opponents', 'adversaire']]) {
        for (const entry of data.kept[key]) {
          const mine = kept[key];
          if (mine.some(e => e.name === entry.name && same(e, entry))) continue;
          const name = besideName(entry.name, n => mine.some(e => e.name === n));
          kept[key] = [...mine, { ...entry, name }];
          added.push(`${what} « ${name} »`);
        }
      }
      commit({ kept, ...message(added.length ? `Importé : ${added.join(', ')}.` : 'Rien de nouveau à importer.') });
    },
    // "Annuler": what the last deletion took, put back.
    undo() {
      const restore = undoing;
      undoing = null;
      restore?.();
    },

    search(text) {
      const found = vyr.find(text), spell = found.includes(s.spell) ? s.spell : found[0] ?? null;
      const none = spell === null ? message('Aucun sort ne correspond à la recherche.', ['search']) : {};
      commit({ search: text, found, spell, kept: withSpell(spell, s.list.names), ...none });
    },
    chooseSpell: spell => commit({ spell, kept: withSpell(spell, s.list.names) }),

    // A field's text as typed, saved into its group's chosen entry unless a link's setup is shown.
    type(name, text) {
      const inputs = { ...s.inputs, [name]: text }, group = groupOf[name], g = groups[group];
      const kept = s.linked[group] ? s.kept : { ...s.kept, [g.list]: s.kept[g.list]
        .map(e => (e.name === s.kept[g.chosen] ? { name: e.name, inputs: pick(inputs, group) } : e)) };
      commit({ inputs, kept });
    },
    // Leaving a field applies the core's rule to its whole text.
    leave(name) {
      const left = vyr.leave(name, s.inputs[name]);
      if (left !== s.inputs[name]) actions.type(name, left);
    },

    chooseEntry: (group, name) => choose(group, name),
    nameDraft: (group, text) => commit({ drafts: { ...s.drafts, [group]: text } }),
    // Renommer, Enregistrer sous ce nom (a new entry holding the fields: a copy, or the link's
    // setup) and Supprimer.
    entry(group, action) {
      const g = groups[group], name = s.drafts[group].trim(), list = s.kept[g.list];
      if (action !== 'delete' && (!name || list.some(e => e.name === name))) {
        const text = name ? `Le nom « ${name} » est déjà pris : choisissez-en un autre.` : "Donnez d'abord un nom.";
        return commit(message(text, ['drafts']));
      }
      if (action === 'delete') {
        if (s.linked[group]) return choose(group, s.kept[g.chosen]);
        const gone = s.kept[g.chosen], rest = list.filter(e => e.name !== gone);
        if (!rest.length) rest.push({ name: g.fresh, inputs: {} });
        const back = () => choose(group, gone, { ...s.kept, [g.list]: list },
          message(`${g.label} « ${gone} » rétabli.`));
        return choose(group, rest[0].name, { ...s.kept, [g.list]: rest },
          { ...message(`${g.label} « ${gone} » supprimé.`), ...offerUndo(back) });
      }
      const entries = action === 'rename' && !s.linked[group]
        ? list.map(e => (e.name === s.kept[g.chosen] ? { ...e, name } : e))
        : [...list, { name, inputs: pick(s.inputs, group) }];
      chose(g.chosen);
      const linked = { ...s.linked, [group]: false };
      commit({ kept: withSpell(s.spell, s.list.names, { ...s.kept, [g.list]: entries, [g.chosen]: name }, linked),
        linked, drafts: { ...s.drafts, [group]: name },
        ...message(`${g.label} « ${name} » enregistré.`, ['drafts']) });
    },

    // A link's setup and spell on screen, nothing saved; a damaged code or a spell the active
    // list lacks is said in one line and changes nothing.
    openLink(fragment) {
      const params = new URLSearchParams(fragment);
      if (!params.has('config')) return;
      const setup = vyr.decode(params.get('config')), spellName = params.get('sort') ?? '', names = s.list.names;
      if (setup.error) return say(`${words(setup.error)} ; rien n'a changé.`);
      // The spell found as vyr --spell finds it; one the active list lacks leaves the spell shown.
      const found = spellName ? vyr.spellNamed(spellName) : s.spell ?? 0, spell = found.error ? s.spell ?? 0 : found;
      const missing = found.error ? ` Le sort « ${spellName} » du lien est absent de la liste active : `
        + `« ${names[spell]} » est affiché à la place.` : '';
      const carried = params.get('adversaire') === 'non' ? ['character'] : ['character', 'opponent'];
      let inputs = s.inputs;
      const linked = { ...s.linked }, drafts = { ...s.drafts };
      for (const group of carried) [linked[group], drafts[group], inputs] = [true, '', filled(inputs, group, setup)];
      commit({ inputs, linked, drafts, search: '', found: vyr.find(''), spell,
        ...message('Configuration du lien affichée ; vos personnages et adversaires restent tels quels '
          + `(« Enregistrer sous ce nom » la garde).${missing}`, ['linked']) });
    },
    shareOpponent: withOpponent => commit({ withOpponent }),

    // A setup row's character or opponent (group), or its change ('name': an input, 'value': its text). A
    // change on a row not in use makes it A with that change.
    setup(row, group, value) {
      const a = s.setups[0];
      const edit = r => {
        if (group === 'character' || group === 'opponent') return { ...r, [group]: value };
        const base = r.character ? r : { ...r, character: a.character || SHOWN, opponent: a.opponent };
        return { ...base, change: { ...r.change, [group]: value } };
      };
      commit({ setups: s.setups.map((r, k) => (k === row ? edit(r) : r)) });
    },
    sortBy(column, descendingFirst) {
      const again = s.sort.column === column;
      commit({ sort: { column, descending: again ? !s.sort.descending : descendingFirst } });
    },
    filter: (key, value) => commit({ filters: { ...s.filters, [key]: value } }),
    chart: (key, value) => commit({ chart: { ...s.chart, [key]: value } }),

    // The kept state written, merged over what another tab may have written since.
    persist() {
      if (s.kept === synced) return;
      const theirs = reread();
      if (!theirs) return;  // nothing this page may write over
      const merged = merge(base, s.kept, theirs, mine), others = !same(theirs, base);
      if (!save(merged)) {
        say("Le navigateur refuse d'enregistrer : rien de plus ne sera gardé pour la prochaine visite.");
      }
      [base, mine] = [merged, new Set()];
      if (others) adopt(merged);
      synced = s.kept;
    },
    // Another tab wrote: what it kept joins this tab's, which keeps what it has not written yet.
    reread() {
      const theirs = reread();
      if (!theirs || same(theirs, base)) return;
      const merged = merge(base, s.kept, theirs, mine);
      base = theirs;
      adopt(merged);
      // Nothing of this tab's waits: no write back (the tabs may order the names differently).
      if (!mine.size && sameEntries(merged, theirs)) synced = s.kept;
    },
  };
  return actions;
}
