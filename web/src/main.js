// The page lays out what the core (vyr.js, WebAssembly) computes: no figure is made here.
// The main result follows every keystroke at once; the analyses below it follow in a
// worker (schedule.js), only for the sections on screen or open.
import { $, element, say } from './dom.js';
import { inputsOf, outputsOf, showResult } from './results.js';
import { scheduler } from './schedule.js';
import { clear, table } from './tables.js';
import { clearChart, showChart, wireChart } from './chart.js';
import { filter, open } from './spells.js';
import { copyLink, openLink, showLink } from './link.js';
import { rememberFields, start, storeState } from './keep.js';
import { buildSetups, filtersOf, setupsOf } from './setups.js';
import { words } from './words.js';
import { warmUp } from './store.js';

// The columns a player reads first (a phone shows only these until asked for all); the gain comes
// right after the stat, so that a half-width table shows it without scrolling.
const firstColumns = {
  poids: ['heading', 'weightedPerSecondGain', 'from', 'to'],
  comparaison: ['name', 'weightedPerSecond', 'effectMin', 'effectMax'],
};
// Each section and what it depends on: it is computed again only when one of these changes.
const needs = {
  explication: ['inputs', 'spell', 'version'],
  poids: ['inputs', 'spell', 'version', 'step'],
  ecarts: ['inputs', 'spell', 'version', 'setups'],
  courbe: ['inputs', 'spell', 'version', 'others', 'range', 'series', 'width', 'withTable'],
  comparaison: ['inputs', 'version', 'sort', 'filters'],
};
const sections = Object.keys(needs);
const sweepRows = 2000;  // rows of the chart's table shown at most
const rangeQuiet = 400;  // ms without typing in the chart's range before the sweep starts again
// The task after the next frame: what waits there never holds up a paint.
const afterPaint = then => requestAnimationFrame(() => setTimeout(then));

// The scripts run from the page's head, so that the core compiles while the page is read; the first
// read of the browser's storage, which waits on the browser, is asked for meanwhile too.
const parsed = new Promise(resolve => {
  if (document.readyState === 'loading') addEventListener('DOMContentLoaded', resolve);
  else resolve();
}).then(warmUp);

Promise.all([createVyr(), parsed]).then(([vyr]) => {
  const fields = vyr.fields();
  const onScreen = new Set(), done = {};
  let job = 0, analyses = null, chartWidth = 0;  // the chart's box, read when it changes, not on each key
  const page = {
    vyr,
    inputs: inputsOf(fields),
    outputs: outputsOf(fields),
    spells: [],
    defaults: Object.fromEntries(fields.inputs.map(f => [f.name, f.default])),
    sortedBy: { column: 'index', descending: false },
    analyses: { list: (...list) => { page.firstList = list; } },  // until the worker is made
    say,
    values: () => Object.fromEntries(Object.entries(page.inputs).map(([name, input]) => [name, input.value])),
    spell: () => ($('sort').value === '' ? null : Number($('sort').value)),
    // The result at once; the rest of a change (link, storage, analyses) once the result is painted.
    update() {
      const current = page.spell();
      showResult(fields, page.outputs, current === null ? {} : vyr.run(current, page.values()),
        page.spells[current ?? -1]);
      if (current === null) page.say('Aucun sort ne correspond à la recherche.');
      rememberFields(page, page.spells[current]);
      $('element').textContent = current === null ? '' : `Élément : ${vyr.element(current)}`;
      follow();
    },
  };
  const { inputs } = page;

  // The link, the kept state and the analyses follow a burst of changes once, after its paint
  // (or at once when the page is left, so that nothing typed is lost).
  let following = false;
  function follow() {
    if (!following) afterPaint(followNow);
    following = true;
  }
  function followNow() {
    if (!following) return;
    following = false;
    showLink(page);
    storeState(page);
    analyse();
  }
  addEventListener('pagehide', followNow);

  // What the analyses depend on; a section already showing this state is left alone.
  function state() {
    const current = page.spell();
    return {
      inputs: page.values(), spell: current, step: Number($('pas').value), setups: setupsOf(page), filters: filtersOf(),
      sort: page.sortedBy, range: `level=${$('de').value}..${$('jusqua').value}`, series: $('serie').value,
      others: [...$('sorts').selectedOptions].map(option => Number(option.value)).filter(s => s !== current),
      width: chartWidth, withTable: $('en-tableau').open,
      version: page.listVersion,
    };
  }

  let keys = {};  // of the job asked last
  function analyse() {
    if (!analyses) return;  // the first result goes first; the worker starts after it
    const now = state();
    keys = Object.fromEntries(sections.map(name => [name, JSON.stringify(needs[name].map(need => now[need]))]));
    if (now.spell === null) {
      // No spell: what was said of the last one no longer holds, and goes.
      $('explication').replaceChildren();
      for (const id of ['poids', 'ecarts', 'valeurs']) clear($(id));
      clearChart();
      $('erreur-plage').textContent = '';
      for (const name of sections) delete done[name];
    }
    const wanted = sections.filter(name => onScreen.has(name) && done[name] !== keys[name])
      .filter(name => now.spell !== null || name === 'comparaison');
    for (const name of sections) {
      if (wanted.includes(name)) $(`section-${name}`).setAttribute('aria-busy', 'true');
      else $(`section-${name}`).removeAttribute('aria-busy');
    }
    if (wanted.length && analyses) analyses.run({ ...now, id: ++job, sections: wanted });
  }

  const show = {
    explication: lines => {
      const list = $('explication');
      while (list.children.length > lines.length) list.lastElementChild.remove();
      lines.forEach((line, k) => {
        const item = list.children[k] || list.appendChild(element('li'));
        if (item.textContent !== line) item.textContent = line;
      });
    },
    poids: data => table($('poids'), data, { first: firstColumns.poids, hidden: ['index', 'spell'] }),
    ecarts: data => {
      if (!data.error) return table($('ecarts'), data, { hidden: ['index', 'spell'] });
      clear($('ecarts'));
      $('ecarts').append(element('caption', { textContent: words(data.error) }));
    },
    comparaison: data => table($('comparaison'), data, {
      first: firstColumns.comparaison, sortedBy: page.sortedBy,
      sort: (column, descendingFirst) => {
        const again = page.sortedBy.column === column;
        page.sortedBy = { column, descending: again ? !page.sortedBy.descending : descendingFirst };
        analyse();
      },
    }),
    courbe: data => {
      $('erreur-plage').textContent = data.error ? `${words(data.error)}.` : '';
      if (data.error) {
        clearChart();
        return clear($('valeurs'));
      }
      showChart(data.svg);
      if (data.table) table($('valeurs'), data.table, { most: sweepRows });
    },
  };

  function apply({ id, section, result }) {
    if (id !== job) return;  // a later change has asked again
    $(`section-${section}`).removeAttribute('aria-busy');
    done[section] = keys[section];
    show[section](result);
  }

  for (const [name, input] of Object.entries(inputs)) {
    // Typing accepts digits only, as in the dialog's fields; leaving a field applies its rule.
    input.addEventListener('beforeinput', event => { if (/\D/.test(event.data || '')) event.preventDefault(); });
    input.addEventListener('blur', () => {
      const left = vyr.leave(name, input.value);
      if (left !== input.value) {
        input.value = left;
        page.update();
      }
    });
  }
  for (const input of [...Object.values(inputs), $('pas')]) input.addEventListener('input', page.update);
  // The range only moves the chart, whose sweep can be long: it waits for a pause in the typing.
  // Sections filled above the field may have pushed it away: it comes back into view as it is typed in.
  let rangeTimer = 0;
  for (const id of ['de', 'jusqua']) {
    $(id).addEventListener('input', () => {
      $(id).scrollIntoView({ block: 'nearest' });
      clearTimeout(rangeTimer);
      rangeTimer = setTimeout(analyse, rangeQuiet);
    });
  }
  $('recherche').addEventListener('input', () => filter(page));
  for (const id of ['sort', 'serie', 'sorts', 'avec-adversaire']) $(id).addEventListener('change', page.update);
  $('en-tableau').addEventListener('toggle', analyse);
  $('saisie').addEventListener('submit', event => { event.preventDefault(); page.update(); });
  $('fichier').addEventListener('change', () => open(page, $('fichier').files[0]));
  document.addEventListener('dragover', event => event.preventDefault());
  document.addEventListener('drop', event => { event.preventDefault(); open(page, event.dataTransfer.files[0]); });
  $('partager').addEventListener('click', event => { event.preventDefault(); copyLink(page); });
  window.addEventListener('hashchange', () => openLink(page, location.hash.slice(1)));
  $('toutes').addEventListener('change', () => $('comparaison').classList.toggle('toutes', $('toutes').checked));
  wireChart();

  $('serie').replaceChildren(...fields.series.map(s => element('option', { value: s.name, textContent: s.title })));
  start(page);
  openLink(page, location.hash.slice(1));
  // Offline once served over http(s); a page opened from disk goes without.
  if (location.protocol.startsWith('http') && 'serviceWorker' in navigator) navigator.serviceWorker.register('sw.js');
  performance.mark('vyr-first-result');
  window.vyr = vyr;  // for the browser tests

  // The worker, the setups and the watch on what is on screen start once the first result is painted.
  afterPaint(() => {
    buildSetups(page);
    analyses = scheduler(vyr, apply);
    if (page.firstList) analyses.list(...page.firstList);
    page.analyses = analyses;
    const watch = new IntersectionObserver(entries => {
      for (const entry of entries) {
        const name = entry.target.id.replace('section-', '');
        if (entry.isIntersecting) onScreen.add(name);
        else onScreen.delete(name);
      }
      analyse();
    }, { rootMargin: '200px 0px' });
    for (const name of sections) watch.observe($(`section-${name}`));
    new ResizeObserver(([box]) => {
      const width = Math.max(280, Math.round(box.contentRect.width / 10) * 10);
      if (width === chartWidth) return;  // the section grew taller: the chart stays as it is
      chartWidth = width;
      analyse();
    }).observe($('section-courbe'));  // the chart's box fills it; the box itself is hidden while empty
    analyse();
  });
});
