import { element, show } from './dom.js';

// A table of the core, updated in place: the heading row is rebuilt only when the columns
// change (a focused sort button stays), rows and cells are reused and only changed texts
// are written. Options:
//   first   column names shown first, in this order (the ones a player reads first);
//   hidden  column names never shown;
//   compact on a narrow screen, only `first` columns, unless the table's .toutes is ticked;
//   sort    (name, descendingFirst) => …, makes each heading a sort button; a column of figures
//           sorts its best end (the core's) first, any other A to Z;
//   sortedBy {column, descending}: the heading marked sorted;
//   most    rows shown at most (the rest said in the caption, as those past data.total: the rows the core
//           left out).
export function table(node, data, { first = [], hidden = [], sort = null, sortedBy = null, most = Infinity } = {}) {
  const place = name => (first.includes(name) ? first.indexOf(name) : first.length);
  // Columns empty in every row say nothing: left out.
  const filled = i => data.rows.some(row => row[i] !== null && row[i] !== '');
  const shown = data.columns.map((column, i) => ({ ...column, i }))
    .filter(c => c.shown && !hidden.includes(c.name) && filled(c.i))
    .sort((a, b) => place(a.name) - place(b.name));
  const kind = i => (typeof data.rows.find(row => row[i] !== null)?.[i] === 'string' ? 'texte' : 'nombre');
  // Beyond the columns read first, a cell belongs to "the rest", which a phone shows on demand.
  const classOf = c => `${kind(c.i)}${first.length && !first.includes(c.name) ? ' reste' : ''}`;
  const signature = shown.map(c => c.name).join(' ');
  if (node.dataset.columns !== signature) {
    node.dataset.columns = signature;
    const head = shown.map(c => {
      const button = () => element('button', {
        type: 'button', textContent: c.heading, onclick: () => sort(c.name, c.best === 'high'),
      });
      const th = element('th', { scope: 'col', className: classOf(c) }, sort ? button() : c.heading);
      th.dataset.name = c.name;
      return th;
    });
    node.replaceChildren(element('caption'), element('thead', {}, element('tr', {}, ...head)), element('tbody'));
  }
  for (const th of node.tHead.rows[0].cells) {
    const order = sortedBy?.descending ? 'descending' : 'ascending';
    if (sortedBy?.column === th.dataset.name) th.setAttribute('aria-sort', order);
    else th.removeAttribute('aria-sort');
  }
  const body = node.tBodies[0], rows = data.rows.slice(0, most);
  while (body.rows.length > rows.length) body.lastElementChild.remove();
  rows.forEach((row, r) => {
    const cells = () => shown.map(c => element('td', { className: classOf(c) }));
    const tr = body.rows[r] || body.appendChild(element('tr', {}, ...cells()));
    shown.forEach((c, k) => {
      const text = show(row[c.i]);
      if (tr.cells[k].textContent !== text) tr.cells[k].textContent = text;
    });
  });
  const total = data.total ?? data.rows.length;
  node.caption.textContent = total > rows.length ? `Les ${rows.length} premières lignes sur ${total}.` : '';
}

// Empties a table whose figures no longer hold (no spell, a refused range).
export function clear(node) {
  delete node.dataset.columns;
  node.replaceChildren();
}
