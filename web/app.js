'use strict';
// The page lays out what the core (vyr.js, WebAssembly) computes: no figure is made here,
// the chart only turns the core's figures into positions.
const $ = id => document.getElementById(id);
const units = { moveDelay: 'ms', recastDelay: 'ms', successChance: '%' };
const charted = ['effectPerSecond', 'weightedPerSecond', 'recastDelay', 'moveDelay'];
const colours = ['#b3261e', '#1f5fa8', '#2e7d32', '#8e24aa', '#ef6c00', '#00838f'];
const number = new Intl.NumberFormat('fr-FR', { maximumFractionDigits: 2, useGrouping: false });
const show = value => (typeof value === 'number' ? number.format(value) : value ?? '');
const fold = text => text.normalize('NFD').replace(/[\u0300-\u036f]/g, '').toLowerCase();
const element = (tag, props = {}, ...children) => {
  const node = Object.assign(document.createElement(tag), props);
  node.append(...children);
  return node;
};
const svg = (tag, attributes, ...children) => {
  const node = document.createElementNS('http://www.w3.org/2000/svg', tag);
  for (const name in attributes) node.setAttribute(name, attributes[name]);
  node.append(...children);
  return node;
};

createVyr().then(vyr => {
  const fields = vyr.fields();
  const inputs = {}, outputs = {};
  let spells = [], sortedBy = { column: 'index', descending: false }, pending = false;

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
  const spell = () => ($('sort').value === '' ? null : Number($('sort').value));

  // A table of the core, without the columns named in hidden; a sortable one gets a button
  // per heading.
  function table(id, data, sort, hidden = []) {
    const shown = data.columns.flatMap((column, i) => (column.shown && !hidden.includes(column.name) ? [i] : []));
    const head = shown.map(i => {
      const { name, heading } = data.columns[i];
      const cell = element('th', { scope: 'col', className: typeof data.rows[0]?.[i] === 'string' ? 'texte' : '' }, sort ? element('button', { type: 'button', textContent: heading, onclick: () => sort(name) }) : heading);
      if (sort && sortedBy.column === name) cell.setAttribute('aria-sort', sortedBy.descending ? 'descending' : 'ascending');
      return cell;
    });
    $(id).replaceChildren(element('thead', {}, element('tr', {}, ...head)),
      element('tbody', {}, ...data.rows.map(row => element('tr', {},
        ...shown.map(i => element('td', { textContent: show(row[i]), className: typeof row[i] === 'string' ? 'texte' : '' }))))));
  }

  function chart(data) {
    const x = 0, index = data.columns.findIndex(c => c.name === 'index');
    const y = data.columns.findIndex(c => c.name === $('serie').value);
    const points = y < 0 ? [] : data.rows.filter(row => row[y] !== null);
    const first = data.rows[0][x], last = data.rows[data.rows.length - 1][x];
    const top = Math.max(1, ...points.map(row => row[y]));
    const at = row => [60 + ((row[x] - first) / (last - first || 1)) * 560, 240 - (row[y] / top) * 220];
    const chosen = [...new Set(data.rows.map(row => row[index]))];
    const heading = data.columns[y] ? data.columns[y].heading : '';
    $('courbe').replaceChildren(
      svg('line', { x1: 60, y1: 240, x2: 620, y2: 240, class: 'axe' }), svg('line', { x1: 60, y1: 20, x2: 60, y2: 240, class: 'axe' }),
      svg('text', { x: 56, y: 24, 'text-anchor': 'end' }, show(top)), svg('text', { x: 56, y: 244, 'text-anchor': 'end' }, '0'),
      svg('text', { x: 60, y: 258, 'text-anchor': 'middle' }, show(first)), svg('text', { x: 620, y: 258, 'text-anchor': 'middle' }, show(last)),
      svg('text', { x: 340, y: 274, 'text-anchor': 'middle' }, 'Niveau'), svg('text', { x: 66, y: 14 }, heading),
      ...chosen.map((s, n) => {
        const own = points.filter(row => row[index] === s), colour = colours[n % colours.length];
        return svg('g', { fill: colour, stroke: colour },
          svg('polyline', { points: own.map(at).join(' '), fill: 'none' }),
          ...own.map(row => {
            const [cx, cy] = at(row), said = `${spells[s]}, niveau ${row[x]} : ${show(row[y])}`;
            return svg('circle', { cx, cy, r: 3, 'data-texte': said }, svg('title', {}, said));
          }));
      }));
    $('legende').replaceChildren(...chosen.map((s, n) => element('li', { style: `--couleur: ${colours[n % colours.length]}`, textContent: spells[s] })));
  }

  // The analyses follow the result in the next frame, so that typing stays quick.
  function analyse() {
    pending = false;
    const now = values(), current = spell();
    if (current === null) return;
    $('explication').replaceChildren(...vyr.explain(now, current).map(step => element('li', { textContent: step })));
    table('poids', vyr.weights(now, current, Number($('pas').value)), null, ['index', 'spell']);
    const a = vyr.decode($('config-a').value);
    if (a.error) $('ecarts').replaceChildren(element('caption', { textContent: 'Code de A illisible : il est abîmé ou mal recopié.' }));
    else table('ecarts', vyr.diff(a, now, current), null, ['index', 'spell']);
    table('comparaison', vyr.compare(now, sortedBy.column, sortedBy.descending), column => {
      sortedBy = { column, descending: sortedBy.column === column && !sortedBy.descending };
      analyse();
    });
    const others = [...$('sorts').selectedOptions].map(option => Number(option.value)).filter(s => s !== current);
    const sweep = vyr.sweep(now, [current, ...others], `level=${$('de').value}..${$('jusqua').value}`);
    if (sweep.error) $('point').textContent = 'Plage de niveaux refusée : le premier niveau doit précéder le dernier, et la plage rester raisonnable.';
    else chart(sweep);
    if ($('en-tableau').open && !sweep.error) table('valeurs', sweep);
  }

  function update() {
    const current = spell(), now = values();
    const result = current === null ? {} : vyr.run(current, now);
    for (const name in outputs) outputs[name].value = show(result[name]);
    if (current === null) say('Aucun sort ne correspond à la recherche.');
    const state = `config=${vyr.code(now)}&sort=${encodeURIComponent(spells[current] ?? '')}`;
    $('partager').href = '#' + state;
    localStorage.setItem('vyr-degats', state);
    if (!pending) requestAnimationFrame(analyse);
    pending = true;
  }

  // The list shows the spells whose name holds the search, ignoring case and accents.
  function filter() {
    const wanted = fold($('recherche').value), chosen = $('sort').value;
    $('sort').replaceChildren(...spells.flatMap((name, i) =>
      fold(name).includes(wanted) ? [element('option', { value: i, textContent: name, selected: String(i) === chosen })] : []));
    update();
  }

  function useList(names, chosenName) {
    spells = names;
    $('sorts').replaceChildren(...names.map((name, i) => element('option', { value: i, textContent: name })));
    $('recherche').value = '';
    filter();
    $('sort').value = Math.max(0, spells.indexOf(chosenName));
    update();
  }

  async function open(file) {
    $('fichier').value = '';  // the same file may be chosen again
    if (!file) return;
    vyr.FS.writeFile('/joueur.dat', new Uint8Array(await file.arrayBuffer()));
    const names = vyr.load('/joueur.dat');
    if (names.error) return say(`« ${file.name} » : aucun sort n'a pu être chargé. La liste actuelle est conservée.`);
    useList(names, spells[spell()]);
    const s = names.length > 1 ? 's' : '';
    say(`« ${file.name} » : ${names.length} sort${s} chargé${s}.`);
  }

  // A shared link (#config=CODE&sort=NAME), else the last visit, else the defaults.
  function restore(state) {
    const saved = new URLSearchParams(state);
    const setup = saved.get('config') ? vyr.decode(saved.get('config')) : {};
    if (setup.error) say('Lien de partage illisible : le code de configuration est abîmé ou mal recopié.');
    else for (const name in setup) inputs[name].value = setup[name];
    return saved.get('sort');
  }

  for (const [name, input] of Object.entries(inputs)) {
    // Typing accepts digits only, as in the dialog's fields; leaving a field applies its rule.
    input.addEventListener('beforeinput', event => { if (/\D/.test(event.data || '')) event.preventDefault(); });
    input.addEventListener('blur', () => { input.value = vyr.leave(name, input.value); update(); });
  }
  for (const input of [...Object.values(inputs), $('pas'), $('de'), $('jusqua')]) input.addEventListener('input', update);
  $('recherche').addEventListener('input', filter);
  for (const id of ['sort', 'serie', 'sorts', 'config-a']) $(id).addEventListener('change', update);
  $('en-tableau').addEventListener('toggle', update);
  $('garder-a').addEventListener('click', () => { $('config-a').value = vyr.code(values()); update(); });
  $('saisie').addEventListener('submit', event => { event.preventDefault(); update(); });
  $('fichier').addEventListener('change', () => open($('fichier').files[0]));
  document.addEventListener('dragover', event => event.preventDefault());
  document.addEventListener('drop', event => { event.preventDefault(); open(event.dataTransfer.files[0]); });
  $('courbe').addEventListener('pointerover', event => { $('point').textContent = event.target.dataset.texte || $('point').textContent; });
  $('partager').addEventListener('click', () => say("Le lien de cette configuration est dans la barre d'adresse : copiez-le pour le partager."));
  $('courbe').addEventListener('click', event => { $('point').textContent = event.target.dataset.texte || ''; });
  window.addEventListener('hashchange', () => useList(spells, restore(location.hash.slice(1))));

  $('config-a').value = vyr.code({});
  const names = vyr.load('/sample.dat');
  useList(names, restore(location.hash.slice(1) || localStorage.getItem('vyr-degats') || ''));
  performance.mark('vyr-first-result');
  const headings = Object.fromEntries(vyr.compare({}, 'index', false).columns.map(c => [c.name, c.heading]));
  $('serie').replaceChildren(...charted.map(name => element('option', { value: name, textContent: headings[name] })));
  window.vyr = vyr;  // for the browser tests
});
