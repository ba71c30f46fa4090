'use strict';
// The page lays out what the core (vyr.js, WebAssembly) computes: no figure is made here.
const $ = id => document.getElementById(id);
const units = { moveDelay: 'ms', recastDelay: 'ms', successChance: '%' };
const fold = text => text.normalize('NFD').replace(/[\u0300-\u036f]/g, '').toLowerCase();
const element = (tag, props = {}, ...children) => {
  const node = Object.assign(document.createElement(tag), props);
  node.append(...children);
  return node;
};

createVyr().then(vyr => {
  const fields = vyr.fields();
  const inputs = {}, outputs = {};
  let spells = [];

  for (const box of document.querySelectorAll('[data-fields]')) {
    for (const name of box.dataset.fields.split(' ')) {
      const field = fields.inputs.find(f => f.name === name);
      inputs[name] = element('input', { id: name, value: field.default, inputMode: 'numeric' });
      box.append(element('label', { htmlFor: name, textContent: field.label }), inputs[name]);
    }
  }
  // Outputs that share a label (a range) share a line: "min - max".
  let line;
  fields.outputs.forEach((field, i) => {
    const out = element('output', { id: field.name });
    out.setAttribute('aria-label', field.label);
    outputs[field.name] = out;
    if (i && fields.outputs[i - 1].label === field.label) return line.append(' - ', out);
    line = element('dd', {}, out);
    $('sorties').append(element('dt', { textContent: field.label }), line);
    if (units[field.name]) out.after(' ' + units[field.name]);
  });

  const say = text => { $('etat').textContent = text; };
  const values = () => Object.fromEntries(Object.entries(inputs).map(([name, input]) => [name, input.value]));
  const spell = () => ($('sort').value === '' ? -1 : Number($('sort').value));

  function show() {
    const result = vyr.run(spell(), values());
    for (const name in outputs) outputs[name].value = result[name];
    say(result.message);
    localStorage.setItem('vyr-degats', JSON.stringify({ inputs: values(), spell: spells[spell()] }));
  }

  // The list shows the spells whose name holds the search, ignoring case and accents.
  function filter() {
    const wanted = fold($('recherche').value), chosen = $('sort').value;
    $('sort').replaceChildren(...spells.flatMap((name, i) =>
      fold(name).includes(wanted) ? [element('option', { value: i, textContent: name, selected: String(i) === chosen })] : []));
    show();
  }

  function useList(names, chosenName) {
    spells = names;
    filter();
    const index = spells.indexOf(chosenName);
    $('sort').value = index < 0 ? 0 : index;
    show();
  }

  async function open(file) {
    vyr.FS.writeFile('/joueur.dat', new Uint8Array(await file.arrayBuffer()));
    const names = vyr.load('/joueur.dat');
    if (!names.length) {
      say(`« ${file.name} » : aucun sort n'a pu être chargé. La liste actuelle est conservée.`);
      return;
    }
    useList(names, spells[spell()]);
    const s = names.length > 1 ? 's' : '';
    say(`« ${file.name} » : ${names.length} sort${s} chargé${s}.`);
  }

  for (const [name, input] of Object.entries(inputs)) {
    // Typing accepts digits only, as in the dialog's fields; leaving a field applies the core's rule.
    input.addEventListener('beforeinput', event => { if (/\D/.test(event.data || '')) event.preventDefault(); });
    input.addEventListener('input', show);
    input.addEventListener('blur', () => { input.value = vyr.leave(name, input.value); show(); });
  }
  $('recherche').addEventListener('input', filter);
  $('sort').addEventListener('change', show);
  $('saisie').addEventListener('submit', event => { event.preventDefault(); show(); });
  $('fichier').addEventListener('change', () => open($('fichier').files[0]));
  document.addEventListener('dragover', event => event.preventDefault());
  document.addEventListener('drop', event => { event.preventDefault(); open(event.dataTransfer.files[0]); });

  const saved = JSON.parse(localStorage.getItem('vyr-degats') || '{}');
  for (const name in saved.inputs) if (inputs[name]) inputs[name].value = saved.inputs[name];
  useList(vyr.load('/sample.dat'), saved.spell);
  performance.mark('vyr-first-result');
  window.vyr = vyr;  // for the browser tests
});
