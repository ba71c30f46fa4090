// What the page keeps in the browser: one JSON value in localStorage under KEY, versioned.
// Data this page cannot read (damaged, or of a later version) is set aside under ASIDE (or
// ASIDE-2, -3… when earlier data is there), never read again nor lost; the first page's single
// setup (OLD) becomes the first character and opponent. Several tabs share the value: each
// writes only what it changed, over what the others wrote (merge).
export const KEY = 'vyr-degats/v2', ASIDE = 'vyr-degats/mis-de-cote', OLD = 'vyr-degats';
const VERSION = 2;

export const empty = () => ({
  version: VERSION, files: [], activeFile: '', characters: [], opponents: [], character: '', opponent: '', spell: '',
});
const choices = ['activeFile', 'character', 'opponent', 'spell'], lists = ['files', 'characters', 'opponents'];
// spellAt: the spell's position, so that of two namesakes the one picked stays (kept without one, the name decides).
const positions = ['spellAt'];

// A key under which nothing is kept yet: what was set aside before stays.
function asideKey() {
  let key = ASIDE;
  for (let n = 2; localStorage.getItem(key) !== null; n++) key = `${ASIDE}-${n}`;
  return key;
}

const text = value => typeof value === 'string';
const inputs = value => value && typeof value === 'object' && Object.values(value).every(v => /^\d*$/.test(v));
const named = (list, check) => Array.isArray(list) && list.every(item => item && text(item.name) && check(item));

export function readable(state) {
  return state && state.version === VERSION
    && choices.every(k => text(state[k]))
    && named(state.files, file => text(file.bytes) && (file.form === undefined || text(file.form)))
    && named(state.characters, c => inputs(c.inputs))
    && named(state.opponents, o => inputs(o.inputs));
}

// Data the browser would neither let the page read nor set aside stays where it is: then nothing
// is written over it during this visit.
let untouched = false;

// Where value now waits, set aside; the key it came from is emptied only once the copy is made.
function setAside(value, from) {
  const aside = asideKey();
  localStorage.setItem(aside, value);
  localStorage.removeItem(from);
  return aside;
}

// The kept state and, when something was set aside or taken over, a message for the player.
// fromOld(code) turns the first page's setup into {characters, opponents}.
export function load(fromOld) {
  try {
    return read(fromOld);
  } catch {  // storage forbidden, or full when setting aside
    untouched = true;
    const said = 'Le navigateur refuse de lire ou de mettre de côté les données enregistrées : elles restent '
      + 'telles quelles, et rien ne sera enregistré pendant cette visite.';
    return { state: empty(), said };
  }
}

function read(fromOld) {
  const raw = localStorage.getItem(KEY);
  if (raw === null) {
    const old = new URLSearchParams(localStorage.getItem(OLD) ?? '');
    if (!old.get('config')) return { state: empty() };
    const taken = fromOld(old.get('config'));
    if (!taken) {
      const aside = setAside(old.toString(), OLD);
      const said = `Configuration de la version précédente illisible : mise de côté sous « ${aside} ».`;
      return { state: empty(), said };
    }
    localStorage.removeItem(OLD);
    return { state: { ...empty(), ...taken, spell: old.get('sort') ?? '' },
      said: 'Configuration de la version précédente reprise comme premier personnage et premier adversaire.' };
  }
  const state = kept(raw);
  if (state) return { state };
  const aside = setAside(raw, KEY);
  const said = "Données enregistrées illisibles (abîmées ou d'une autre version) : mises de côté "
    + `sous « ${aside} » ; la page repart des valeurs par défaut.`;
  return { state: empty(), said };
}

function kept(raw) {
  try {
    const state = JSON.parse(raw);
    return readable(state) ? state : null;
  } catch {
    return null;
  }
}

// What another tab left, as the page reads it; null when there is nothing this page may merge
// with (nothing kept, unreadable, or storage refused): then the caller keeps its own.
export function reread() {
  if (untouched) return null;
  try {
    const raw = localStorage.getItem(KEY);
    if (raw !== known.raw) known = { raw, state: raw === null ? empty() : kept(raw) };
    return known.state;
  } catch {
    return null;
  }
}
// The text last read or written and its state: the same text is the same object, not parsed again.
let known = { raw: undefined, state: null };

// The first read waits on the browser: the page asks for it early, while the core compiles.
export function warmUp() {
  try {
    localStorage.getItem(KEY);
  } catch { /* the page goes on: load reads it again */ }
}

export function save(state) {
  if (untouched) return true;  // the player was told at load that nothing is written
  try {
    const raw = JSON.stringify(state);
    localStorage.setItem(KEY, raw);
    known = { raw, state };
    return true;
  } catch {
    return false;  // full or forbidden: the page goes on, the caller says so
  }
}

// Three-way merge of kept states. base: what this tab last read or wrote; ours: this tab's now;
// theirs: what is kept now. A named entry this tab added, changed or removed since base is
// taken from ours, any other from theirs (so entries added in two tabs both stay); the choices
// (chosen character, spell…) from ours only when this tab made them (mine).
export function merge(base, ours, theirs, mine) {
  const same = (a, b) => a === b || JSON.stringify(a) === JSON.stringify(b);
  const merged = { ...theirs };
  for (const key of lists) {
    const [b, o, t] = [base, ours, theirs].map(state => new Map(state[key].map(e => [e.name, e])));
    merged[key] = [...new Set([...o.keys(), ...t.keys()])]
      .map(name => (same(o.get(name), b.get(name)) ? t.get(name) : o.get(name))).filter(Boolean);
  }
  for (const key of [...choices, ...positions]) if (mine.has(key)) merged[key] = ours[key];
  return merged;
}

// The same entries (in any order) under each list: two tabs need not agree on the order.
export const sameEntries = (a, b) => lists.every(key => {
  const sorted = state => JSON.stringify(state[key].map(e => [e.name, e]).sort(([x], [y]) => (x < y ? -1 : 1)));
  return sorted(a) === sorted(b);
});

// The name an entry is kept under beside the names taken: its own when free, else « NAME (2) », « NAME (3) »…,
// the first one free.
export function besideName(name, taken) {
  let free = name;
  for (let k = 2; taken(free); k++) free = `${name} (${k})`;
  return free;
}

export const toBase64 = bytes => btoa(Array.from(bytes, b => String.fromCharCode(b)).join(''));
export const fromBase64 = text => Uint8Array.from(atob(text), c => c.charCodeAt(0));
