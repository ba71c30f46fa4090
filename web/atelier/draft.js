// The workshop's state and its one owner: the draft (the list's lines as the maintainer edits them, UTF-8), where it
// came from, the row chosen, what the core's checks find in it and the chosen record's result. Every line is kept as
// its text: a line not edited is saved byte for byte, an edited one is written anew by the core in the record format.
// Undo keeps snapshots of the lines (each an array of the same strings: a step costs one array) with the row chosen and
// where the lines came from, up to `steps`; opening another list is a step too, so that no draft is lost.
import { besideName, empty, reread, save, fromBase64, toBase64 } from '../src/store.js';
import { words } from '../src/words.js';

export const DRAFT = 'vyr-degats/atelier';
const steps = 200;
const SAMPLE = "liste d'exemple";

// The draft as kept: {version, lines, origin: {name, kept, lines}, selected}; kept: the name is a file the calculator
// keeps; lines: the list as opened or last kept, which the draft is compared with (none in a draft kept without).
const readable = d => d && d.version === 1 && Array.isArray(d.lines) && d.lines.every(l => typeof l === 'string')
  && d.origin && typeof d.origin.name === 'string' && Number.isInteger(d.selected);

export function createDraft(vyr) {
  const fields = vyr.fields(), listeners = [];
  let s = null, past = [], future = [], typing = null, restore = null, refused = false;

  // The setup of the calculator's chosen character and opponent, the defaults where they say nothing.
  function setup(kept) {
    const inputs = Object.fromEntries(fields.inputs.map(f => [f.name, f.default]));
    const chosen = (list, name) => kept?.[list].find(e => e.name === kept[name]);
    const character = chosen('characters', 'character'), opponent = chosen('opponents', 'opponent');
    return { inputs: { ...inputs, ...character?.inputs, ...opponent?.inputs },
      character: character?.name ?? '', opponent: opponent?.name ?? '' };
  }

  // A line as the core splits it, remembered by its text: a keystroke reads again only the line it changed.
  const split = new Map();
  function line(text) {
    if (!split.has(text)) {
      if (split.size > 5000) split.clear();
      split.set(text, Object.freeze(vyr.recordLine(text)));
    }
    return split.get(text);
  }
  // Which record each line is (null: no record), as the checks count them.
  function records(lines) {
    let n = 0;
    return lines.map(text => (line(text).record ? n++ : null));
  }

  function commit(changes) {
    const next = { ...s, ...changes }, what = new Set(Object.keys(changes));
    // « Annuler » after a save holds until the next change.
    if (!what.has('undoKeep') && s.undoKeep) {
      [next.undoKeep, restore] = [false, null];
      what.add('undoKeep');
    }
    if (what.has('lines')) {
      Object.assign(next, vyr.draft(next.lines.join('\n')), { records: records(next.lines) });
      next.selected = Math.max(0, Math.min(next.selected, next.lines.length - 1));
      what.add('findings');
    }
    if (what.has('lines') || what.has('selected') || what.has('setup')) {
      const spell = next.records[next.selected];
      next.result = spell === null || spell === undefined || spell >= next.loaded ? null
        : vyr.run(spell, next.setup.inputs);
      what.add('result');
    }
    next.canUndo = past.length > 0;
    next.canRedo = future.length > 0;
    s = Object.freeze(next);
    for (const listener of listeners) listener(s, what);
  }
  const say = text => commit({ message: text });

  const snapshot = () => ({ lines: s.lines, selected: s.selected, origin: s.origin });
  // A change of the lines that undo can take back; typing in one field is one step until another change.
  function change(lines, selected, more = {}, key = null) {
    if (!key || key !== typing) {
      past = [...past.slice(1 - steps), snapshot()];
      future = [];
    }
    typing = key;
    commit({ lines, selected, typed: key !== null, ...more });
  }

  // A list loaded by the core as the draft: its text split into lines, also kept with the origin as the list the draft
  // is compared with. Défaire takes back to the draft before, unless there was none (fresh).
  function opened(loaded, from, fresh = false) {
    if (loaded.error) return say(`${words(loaded.error)}. Le brouillon reste tel quel.`);
    const lines = vyr.plainText().split('\n'), origin = { ...from, lines };
    const back = fresh ? '' : " Défaire reprend le brouillon d'avant.";
    const message = `« ${origin.name} » ouvert : ${lines.length} lignes.${back}`;
    if (!fresh) return change(lines, 0, { origin, message });
    commit({ lines, origin, selected: 0, typed: false, message });
  }

  const actions = {
    fields,
    line,
    get: () => s,
    subscribe: listener => listeners.push(listener),

    // The kept draft, else the sample list.
    start() {
      let kept = null;
      try {
        kept = JSON.parse(localStorage.getItem(DRAFT));
      } catch { /* none, or unreadable: the sample list */ }
      s = { lines: [''], origin: { name: SAMPLE, kept: false }, selected: 0, setup: setup(reread()), message: '' };
      if (!readable(kept)) return opened(vyr.load(vyr.sample(), SAMPLE, 'scrambled'), s.origin, true);
      commit({ lines: kept.lines, origin: kept.origin, selected: kept.selected,
        message: `Brouillon repris (« ${kept.origin.name} »).` });
    },
    openSample: () => opened(vyr.load(vyr.sample(), SAMPLE, 'scrambled'), { name: SAMPLE, kept: false }),
    openKept(name) {
      const file = reread()?.files.find(f => f.name === name);
      if (!file) return say(`« ${name} » n'est plus gardé par le calculateur.`);
      opened(vyr.load(fromBase64(file.bytes), name, file.form ?? ''), { name, kept: true });
    },
    openFile: (name, bytes) => opened(vyr.load(bytes, name, ''), { name, kept: false }),
    // The calculator's kept files and setup, as another page changed them.
    reread: () => commit({ setup: setup(reread()) }),
    // Another tab's draft: taken in as one step that undo takes back.
    adopt(kept) {
      if (!readable(kept) || JSON.stringify(kept.lines) === JSON.stringify(s.lines)) return;
      const message = 'Brouillon modifié dans un autre onglet : repris.';
      change(kept.lines, s.selected, { origin: kept.origin, message });
    },
    keptFiles: () => reread()?.files.map(f => f.name) ?? [],
    // The draft kept in the browser; a refusal said once, until a write succeeds again.
    persist() {
      const { lines, origin, selected } = s;
      try {
        localStorage.setItem(DRAFT, JSON.stringify({ version: 1, lines, origin, selected }));
        refused = false;
      } catch {
        if (!refused) say("Le navigateur refuse de garder le brouillon : enregistrez-le avant de fermer l'onglet.");
        refused = true;
      }
    },

    select: row => row !== s.selected && commit({ selected: row }),
    edit(row, part, text) {
      const lines = [...s.lines];
      lines[row] = vyr.rewriteLine(s.lines[row], part, text);
      change(lines, row, {}, `${row}:${part}`);
    },
    // A new record after the chosen row: its name, then as many empty fields as a record has.
    add() {
      const at = s.selected + 1, line = vyr.rewriteLine(':', 0, 'Nouveau sort');
      change([...s.lines.slice(0, at), line, ...s.lines.slice(at)], at);
    },
    duplicate() {
      const at = s.selected + 1;
      change([...s.lines.slice(0, at), s.lines[s.selected], ...s.lines.slice(at)], at);
    },
    remove() {
      if (s.lines.length === 1) return say('Le brouillon garde au moins une ligne.');
      change(s.lines.filter((_, k) => k !== s.selected), s.selected);
    },
    move(by) {
      const to = s.selected + by;
      if (to < 0 || to >= s.lines.length) return;
      const lines = [...s.lines];
      [lines[to], lines[s.selected]] = [lines[s.selected], lines[to]];
      change(lines, to);
    },
    undo() {
      if (!past.length) return;
      future = [snapshot(), ...future];
      const back = past.pop();
      typing = null;
      commit({ ...back, typed: false, message: 'Modification défaite.' });
    },
    redo() {
      if (!future.length) return;
      past = [...past, snapshot()];
      const [again, ...rest] = future;
      future = rest;
      typing = null;
      commit({ ...again, typed: false, message: 'Modification refaite.' });
    },

    text: () => s.lines.join('\n'),
    // The data file, scrambled as vyr encode writes it; null (said) when a character has no Windows-1252 form.
    dataFile() {
      const out = vyr.encode(actions.text());
      if (!out.bytes) say("Une ligne contient un caractère que Windows-1252 n'a pas : voyez les remarques.");
      return out;
    },
    // The data file kept for the calculator, in place of the kept file the draft came from (« Annuler » puts that
    // back) or as a new one, and made the calculator's list. The draft stays whatever happens.
    keep() {
      const out = actions.dataFile(), stored = reread(), was = s.origin;
      if (!out.bytes) return;
      if (!stored) return say("Les données du calculateur sont illisibles : rien n'est gardé ; le brouillon reste.");
      const taken = name => stored.files.some(f => f.name === name);
      const name = s.origin.kept ? s.origin.name : besideName(s.origin.name, taken);
      const before = stored.files.find(f => f.name === name);
      const file = { name, bytes: toBase64(out.bytes), form: 'scrambled' };
      const files = before ? stored.files.map(f => (f.name === name ? file : f)) : [...stored.files, file];
      if (!save({ ...stored, files, activeFile: name })) {
        return say("Le navigateur refuse d'enregistrer : le fichier n'est pas gardé ; le brouillon reste.");
      }
      const errors = out.errors ? ` (malgré ${out.errors} erreur${out.errors > 1 ? 's' : ''})` : '';
      restore = () => {
        const now = reread() ?? empty();
        const back = before ? now.files.map(f => (f.name === name ? before : f))
          : now.files.filter(f => f.name !== name);
        save({ ...now, files: back, activeFile: stored.activeFile });
        commit({ origin: was, undoKeep: false,
          message: `« ${name} » ${before ? 'remis tel qu\'il était' : 'retiré'} dans le calculateur.` });
      };
      commit({ origin: { name, kept: true, lines: s.lines }, undoKeep: true,
        message: `« ${name} » ${before ? 'remplacé' : 'gardé'} pour le calculateur${errors}, `
          + "qui l'utilise désormais." });
    },
    // What the draft changes against the list it came from (as opened, or as last kept), for the calculator's
    // character and opponent: the same records and figures as the calculator's comparison of two lists.
    changes() {
      if (!Array.isArray(s.origin.lines)) return null;
      const list = (lines, name) => ({ bytes: new TextEncoder().encode(lines.join('\n')), name, form: 'plain' });
      const lists = [list(s.origin.lines, s.origin.name), list(s.lines, 'brouillon')];
      const { character, opponent } = s.setup;
      return { records: vyr.listChanges(...lists), figures: vyr.changedFigures(...lists, [s.setup.inputs]),
        pairs: [character && opponent ? `${character} contre ${opponent}` : 'affiché'] };
    },
    undoKeep() {
      const back = restore;
      restore = null;
      back?.();
    },
  };
  return actions;
}
