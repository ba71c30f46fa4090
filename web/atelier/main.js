// The spell-file workshop: a list's lines as a table (the core's record fields and headings), the core's checks and
// the chosen record's result following each keystroke, undo and redo, and the list saved as the core writes it.
// draft.js owns the state; this module draws it and raises its actions. No rule of the file is written here.
import { $, afterPaint, download, element, parsed, say, startCore } from '../src/dom.js';
import { outputsView } from '../src/results.js';
import { showChanges } from '../src/changes.js';
import { findingText } from '../src/findings.js';
import { KEY } from '../src/store.js';
import { createDraft, DRAFT } from './draft.js';

const plural = (n, word) => `${n} ${word}${n > 1 ? 's' : ''}`;
// Text and attributes written only when they change: any write lays out the table of a hundred rows again.
const write = (node, text) => node.textContent !== text && (node.textContent = text);
const mark = (node, name, value) => node.getAttribute(name) !== value && node.setAttribute(name, value);

function codeList({ letters, rules }) {
  const letter = l => (l.bonus ? `${l.element} : bonus d'armure`
    : l.power || l.resistance ? `${l.element} : selon ${[l.power, l.resistance].filter(Boolean).join(' et ')}`
      : `${l.element} : portée telle quelle`);
  return [...letters.map(l => element('option', { value: l.prefix, label: letter(l) })),
    ...rules.map(r => element('option', { value: r.code, label: `spécial : ${r.text || 'sans description'}` }))];
}

// One row per line of the draft: a record's name and fields (a special record's up to its code), or a line that is
// no record as one text; its findings in the last cell, each field they stand at marked. Only the chosen row holds
// fields to type in (its number is a button that chooses it, as is a click on a cell): a hundred rows of fields
// would make every keystroke's frame lay out and layer eleven hundred of them.
function rowsView(draft) {
  const { record, codeField } = draft.fields, body = $('lignes').tBodies[0];
  const headings = ['Nom', ...record.map(f => f.heading)];
  $('lignes').tHead.replaceChildren(element('tr', {},
    element('th', { scope: 'col', textContent: 'n°' }),
    ...headings.map(textContent => element('th', { scope: 'col', className: 'texte', textContent })),
    element('th', { scope: 'col', className: 'texte', textContent: 'Remarques' })));
  function build(tr, row, shape, chosen) {
    const cell = (part, label) => {
      const td = element('td', { className: 'texte' });
      td.dataset.part = part;
      if (!chosen) return td;
      const node = element('input',
        { autocomplete: 'off', spellcheck: false, ariaLabel: `${label}, ligne ${row + 1}` });
      Object.assign(node.dataset, { row, part });
      if (part === codeField + 1) node.setAttribute('list', 'codes');
      td.append(node);
      return td;
    };
    const choose = element('button', { type: 'button', ariaPressed: String(chosen) });
    choose.dataset.row = row;
    const cells = [element('th', { scope: 'row' }, choose)];
    if (shape === 'note') {
      cells.push(Object.assign(cell(0, 'Ligne sans « : », sautée par le programme'), { colSpan: headings.length }));
    } else {
      // A special record's line stops at its code: no roll fields.
      headings.forEach((heading, part) => cells.push(shape === 'special' && part > codeField + 1
        ? element('td') : cell(part, heading)));
    }
    cells.push(element('td', { className: 'texte remarques', id: `remarques-${row}` }));
    tr.replaceChildren(...cells);
  }
  // What each row was drawn from: its line, its record number, its findings and whether it is chosen.
  const drawn = [];
  return (now, what) => {
    if (!what.has('lines') && !what.has('findings') && !what.has('selected')) return;
    const byLine = new Map();
    for (const f of now.findings) byLine.set(f.line, [...byLine.get(f.line) ?? [], f]);
    while (body.rows.length > now.lines.length) body.lastElementChild.remove();
    drawn.length = Math.min(drawn.length, now.lines.length);
    const focused = body.contains(document.activeElement) ? document.activeElement.dataset.part ?? '' : null;
    now.lines.forEach((text, row) => {
      const tr = body.rows[row] ?? body.appendChild(element('tr')), found = byLine.get(row + 1) ?? [];
      const chosen = row === now.selected, key = JSON.stringify([text, now.records[row], now.loaded, found, chosen]);
      if (drawn[row] === key) return;
      drawn[row] = key;
      const l = draft.line(text), shape = `${l.record ? (l.special ? 'special' : 'record') : 'note'} ${chosen}`;
      if (tr.dataset.shape !== shape || tr.dataset.row !== String(row)) {
        [tr.dataset.shape, tr.dataset.row] = [shape, row];
        build(tr, row, shape.split(' ')[0], chosen);
      }
      const n = now.records[row], number = n === null ? 'note' : n < now.loaded ? String(n) : `${n} (non chargé)`;
      write(tr.cells[0].firstChild, number);
      const said = `${number} : ${chosen ? 'ligne choisie' : 'choisir'} « ${l.parts[0]} »`;
      mark(tr.cells[0].firstChild, 'aria-label', said);
      tr.classList.toggle('choisie', chosen);
      for (const td of tr.querySelectorAll('td[data-part]')) {
        const part = Number(td.dataset.part), value = l.parts[part] ?? '', wrong = found.some(f => f.part === part);
        const box = td.firstElementChild;
        td.classList.toggle('faux', wrong);
        if (!box) {
          write(td, value);
          continue;
        }
        // What is being typed stays as typed (a space splits a field); anything else shows the line.
        if (box.value !== value && !(now.typed && box === document.activeElement)) box.value = value;
        mark(box, 'aria-invalid', String(wrong));
        if (found.length) mark(box, 'aria-describedby', `remarques-${row}`);
        else box.removeAttribute('aria-describedby');
      }
      const texts = found.map(findingText), remarks = tr.lastElementChild;
      if (texts.join('\n') !== [...remarks.children].map(p => p.textContent).join('\n')) {
        remarks.replaceChildren(...texts.map(textContent => element('p', { textContent })));
      }
    });
    // The focus that was in the table and went with its row goes to the chosen row, at the same field.
    const row = body.rows[now.selected];
    if (focused !== null && !body.contains(document.activeElement) && row) {
      (row.querySelector(`input[data-part="${focused}"]`) ?? row.querySelector('button')).focus();
    }
  };
}

// The chosen record's outputs in the result's lines the build writes (as the calculator shows them), for the
// calculator's character and opponent.
function resultView(draft) {
  const showOutputs = outputsView(draft.fields);
  return (now, what) => {
    if (!what.has('result') && !what.has('setup')) return;
    const { character, opponent } = now.setup, n = now.records[now.selected];
    const l = draft.line(now.lines[now.selected] ?? ''), none = 'les valeurs par défaut';
    write($('pour'), `Pour « ${character || none} » contre « ${opponent || none} », `
      + "le personnage et l'adversaire choisis dans le calculateur.");
    write($('titre-resultat'), !l.record ? "Cette ligne n'est pas un sort"
      : now.result && !now.result.error ? `Résultat de « ${l.parts[0]} » (n° ${n})`
        : `« ${l.parts[0]} » ne se charge pas : pas de résultat`);
    showOutputs(now.result && !now.result.error ? now.result : {});
  };
}

Promise.all([startCore(), parsed]).then(([vyr]) => {
  const draft = createDraft(vyr), { capacity } = draft.fields;
  $('codes').replaceChildren(...codeList(vyr.codes()));
  const keptList = () => {
    const names = draft.keptFiles();
    $('gardes').replaceChildren(...names.map(name => element('option', { value: name, textContent: name })));
    $('ouvrir-garde').disabled = !names.length;
  };
  keptList();
  $('garde-ou').textContent = `Le brouillon est gardé dans ce navigateur à chaque modification (stockage local de la `
    + `page, sous « ${DRAFT} ») : un rechargement, un onglet fermé ou un enregistrement manqué ne le perdent pas. `
    + 'Les fichiers gardés pour le calculateur sont ceux de sa liste « Liste de sorts ».';

  let persisting = false;
  function persist() {
    persisting = false;
    draft.persist();
  }
  addEventListener('pagehide', () => persisting && persist());
  let comparing = false;
  function compare() {
    comparing = false;
    const changes = draft.changes();
    $('section-changements').hidden = !changes;
    if (changes) showChanges(changes);
  }

  const views = [rowsView(draft), resultView(draft)];
  draft.subscribe((now, what) => {
    for (const view of views) view(now, what);
    if (what.has('message')) say(now.message);
    if (what.has('undoKeep')) $('retablir').hidden = !now.undoKeep;
    if (what.has('origin')) {
      $('titre-brouillon').textContent = `Brouillon de « ${now.origin.name} »`;
      keptList();
    }
    if (what.has('findings')) {
      const errors = now.findings.filter(f => f.severity === 'error').length;
      write($('compte'), `${now.loaded} sort${now.loaded > 1 ? 's' : ''} chargé${now.loaded > 1 ? 's' : ''} `
        + `sur ${capacity} au plus ; ${plural(errors, 'erreur')}, `
        + `${plural(now.findings.length - errors, 'avertissement')}.`);
    }
    // What the draft changes against its origin follows once the keystroke is painted, once per burst.
    if ((what.has('lines') || what.has('origin') || what.has('setup')) && !comparing) {
      comparing = true;
      afterPaint(compare);
    }
    $('defaire').disabled = !now.canUndo;
    $('refaire').disabled = !now.canRedo;
    if ((what.has('lines') || what.has('origin') || what.has('selected')) && !persisting) {
      persisting = true;
      afterPaint(persist);
    }
  });

  const body = $('lignes').tBodies[0];
  body.addEventListener('input', ({ target }) => draft.edit(Number(target.dataset.row), Number(target.dataset.part),
    target.value));
  // A row's button, or a click on one of its cells, chooses it; the cell's field then takes the focus.
  body.addEventListener('click', ({ target }) => {
    const tr = target.closest('tr'), part = target.closest('td[data-part]')?.dataset.part;
    if (!tr || target.tagName === 'INPUT') return;
    draft.select(tr.sectionRowIndex);
    if (part !== undefined) tr.querySelector(`input[data-part="${part}"]`)?.focus();
  });
  const click = (id, action) => $(id).addEventListener('click', action);
  click('ajouter', () => draft.add());
  click('dupliquer', () => draft.duplicate());
  click('supprimer', () => draft.remove());
  click('monter', () => draft.move(-1));
  click('descendre', () => draft.move(1));
  click('defaire', () => draft.undo());
  click('refaire', () => draft.redo());
  click('retablir', () => draft.undoKeep());
  click('exemple', () => draft.openSample());
  click('ouvrir-garde', () => $('gardes').value && draft.openKept($('gardes').value));
  click('garder', () => draft.keep());
  const base = () => draft.get().origin.name.replace(/\.[^.]*$/, '') || 'sorts';
  click('enregistrer-dat', () => {
    const { bytes } = draft.dataFile();
    if (bytes) download(bytes, 'application/octet-stream', `${base()}.dat`);
  });
  click('enregistrer-txt', () => download(draft.text(), 'text/plain;charset=utf-8', `${base()}.txt`));
  $('fichier').addEventListener('change', async () => {
    const file = $('fichier').files[0];
    $('fichier').value = '';
    if (file) draft.openFile(file.name, new Uint8Array(await file.arrayBuffer()));
  });
  // Ctrl+Z and Ctrl+Y (or Ctrl+Maj+Z) undo and redo the draft's changes, in a field too.
  addEventListener('keydown', event => {
    if (!(event.ctrlKey || event.metaKey) || event.altKey) return;
    const key = event.key.toLowerCase(), redo = key === 'y' || (key === 'z' && event.shiftKey);
    if (key !== 'z' && key !== 'y') return;
    event.preventDefault();
    if (redo) draft.redo();
    else draft.undo();
  });
  addEventListener('storage', event => {
    if (event.key === DRAFT && event.newValue) draft.adopt(JSON.parse(event.newValue));
    if (event.key === KEY || event.key === null) {
      draft.reread();
      keptList();
    }
  });
  draft.start();
  performance.mark('vyr-first-result');
  window.vyr = vyr;  // for the browser tests
});
