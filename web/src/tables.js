import { $, element, show } from './dom.js';

// A table of the core, without the columns named in hidden; a sortable one gets a button
// per heading, and sortedBy ({column, descending}) marks the heading it is sorted by.
export function table(id, data, { sort = null, sortedBy = null, hidden = [] } = {}) {
  const shown = data.columns.flatMap((column, i) => (column.shown && !hidden.includes(column.name) ? [i] : []));
  const kind = value => (typeof value === 'string' ? 'texte' : '');
  const head = shown.map(i => {
    const { name, heading } = data.columns[i];
    const button = () => element('button', { type: 'button', textContent: heading, onclick: () => sort(name) });
    const label = sort ? button() : heading;
    const cell = element('th', { scope: 'col', className: kind(data.rows[0]?.[i]) }, label);
    if (sort && sortedBy.column === name) {
      cell.setAttribute('aria-sort', sortedBy.descending ? 'descending' : 'ascending');
    }
    return cell;
  });
  const rows = data.rows.map(row => element('tr', {},
    ...shown.map(i => element('td', { textContent: show(row[i]), className: kind(row[i]) }))));
  $(id).replaceChildren(element('thead', {}, element('tr', {}, ...head)), element('tbody', {}, ...rows));
}
