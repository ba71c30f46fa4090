// The page lays out what the core (vyr.js, WebAssembly) computes: no figure is made here.
// main.js wires the state's one owner (state.js) to the views, which render from it and raise
// its actions. The main result follows every keystroke at once; the link, the storage and the
// analyses below it follow once that is painted, the analyses in a worker (schedule.js), only
// for the sections on screen or open.
import { $, afterPaint, element, fillList, parsed, say, startCore } from './dom.js';
import { createState, groupLabels, listFile, pairsOf, setupsOf } from './state.js';
import { inputsView, resultView } from './results.js';
import { spellsView } from './spells.js';
import { keptView } from './keep.js';
import { linkView } from './link.js';
import { changesView, showChanges } from './changes.js';
import { setupsView } from './setups.js';
import { scheduler } from './schedule.js';
import { clear, table } from './tables.js';
import { chartControls, clearChart, showChart, wireChart } from './chart.js';
import { words } from './words.js';
import { KEY, warmUp } from './store.js';

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
  changements: ['compared', 'pairs'],
};
const sections = Object.keys(needs);
const rangeQuiet = 400;  // ms without typing in the chart's range before the sweep starts again
// The first read of the browser's storage, which waits on the browser, is asked for while the core compiles.
Promise.all([startCore(), parsed.then(warmUp)]).then(([vyr]) => {
  const state = createState(vyr), { fields } = state;
  const onScreen = new Set(), done = {};
  const opponents = new Set(fields.inputs.filter(f => f.group === 'opponent').map(f => f.name));
  let job = 0, analyses = null, chartWidth = 0;  // the chart's box, read when it changes, not on each key
  let range = '', rangeTimer = 0;  // the chart's range as last drawn from the state

  // The link, the kept state and the analyses follow a burst of changes once, after its paint
  // (or at once when the page is left, so that nothing typed is lost).
  let following = false, analysing = false, showLink = null;
  function follow(withAnalyses) {
    if (!following) afterPaint(followNow);
    following = true;
    analysing ||= withAnalyses;
  }
  function followNow() {
    if (!following) return;
    following = false;
    showLink?.(state.get());
    state.persist();
    if (analysing) analyse();
    analysing = false;
  }
  addEventListener('pagehide', followNow);

  // What the analyses depend on; a section already showing this state is left alone.
  function request() {
    const now = state.get(), { chart, spell } = now;
    return {
      inputs: now.inputs, spell, step: Number(chart.step), setups: setupsOf(now), filters: now.filters,
      sort: now.sort, range: `level=${chart.from}..${chart.to}`, series: chart.series,
      others: chart.others.filter(s => s !== spell),
      width: chartWidth, withTable: chart.withTable, version: now.list.version,
      // The two lists compared, as kept (a file may change under its name; the sample is '').
      compared: [now.lists.before, now.lists.after].map(name => now.kept.files.find(f => f.name === name) ?? name),
      pairs: pairsOf(now),
    };
  }

  let keys = {};  // of the job asked last
  function analyse() {
    if (!analyses) return;  // the first result goes first; the worker starts after it
    const now = request();
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
      .filter(name => now.spell !== null || !needs[name].includes('spell'));
    for (const name of sections) {
      if (wanted.includes(name)) $(`section-${name}`).setAttribute('aria-busy', 'true');
      else $(`section-${name}`).removeAttribute('aria-busy');
    }
    // The compared lists' bytes, decoded only when their section is asked for.
    const { kept, lists } = state.get(), bytes = wanted.includes('changements')
      ? [lists.before, lists.after].map(name => listFile(kept.files, name, vyr.sample())) : [];
    if (wanted.length) analyses.run({ ...now, id: ++job, sections: wanted, lists: bytes });
  }

  const show = {
    explication: lines => fillList($('explication'), lines),
    // An opponent's input said as the opponent's, by its group in the core's fields.
    poids: data => {
      const [input, heading] = ['input', 'heading'].map(name => data.columns.findIndex(c => c.name === name));
      const rows = data.rows.map(row => (opponents.has(row[input])
        ? Object.assign([...row], { [heading]: `${groupLabels.opponent} : ${row[heading]}` }) : row));
      table($('poids'), { ...data, rows }, { first: firstColumns.poids, hidden: ['index', 'spell'] });
    },
    ecarts: data => {
      if (!data.error) return table($('ecarts'), data, { hidden: ['index', 'spell'] });
      clear($('ecarts'));
      $('ecarts').append(element('caption', { textContent: words(data.error) }));
    },
    comparaison: data => table($('comparaison'), data, {
      first: firstColumns.comparaison, sortedBy: state.get().sort, sort: state.sortBy,
    }),
    courbe: data => {
      $('erreur-plage').textContent = data.error ? `${words(data.error)}.` : '';
      if (data.error) {
        clearChart();
        return clear($('valeurs'));
      }
      showChart(data.svg);
      if (data.table) table($('valeurs'), data.table, { most: fields.shownRows });
    },
    changements: showChanges,
  };

  function apply({ id, section, result }) {
    if (id !== job) return;  // a later change has asked again
    $(`section-${section}`).removeAttribute('aria-busy');
    done[section] = keys[section];
    show[section](result);
  }

  // The views, in the order they draw: the inputs and the result first.
  const views = [inputsView(fields, state), resultView(fields), spellsView(state), chartControls(fields, state),
    keptView(state), changesView(state)];
  state.subscribe((now, what) => {
    for (const view of views) view(now, what);
    if (what.has('message')) say(now.message.text);
    if (what.has('undo')) $('retablir').hidden = !now.undo;
    if (what.has('list')) analyses?.list(now.list.bytes, now.list.form);
    // The range only moves the chart, whose sweep can be long: alone, it waits for a pause in the typing.
    const typed = `${now.chart.from}..${now.chart.to}`, rangeOnly = what.size === 1 && typed !== range;
    range = typed;
    if (rangeOnly) {
      clearTimeout(rangeTimer);
      rangeTimer = setTimeout(analyse, rangeQuiet);
    }
    follow(!rangeOnly);
  });
  $('retablir').addEventListener('click', () => state.undo());
  $('saisie').addEventListener('submit', event => event.preventDefault());  // Enter and GO ! compute: all is computed
  $('toutes').addEventListener('change', () => $('comparaison').classList.toggle('toutes', $('toutes').checked));
  addEventListener('storage', event => (event.key === KEY || event.key === null) && state.reread());
  wireChart(fields.chartHeight);
  state.start();
  showLink = linkView(vyr, state);
  // Offline once served over http(s); a page opened from disk goes without.
  if (location.protocol.startsWith('http') && 'serviceWorker' in navigator) navigator.serviceWorker.register('sw.js');
  performance.mark('vyr-first-result');
  window.vyr = vyr;  // for the browser tests

  // The worker, the setups and the watch on what is on screen start once the first result is painted.
  afterPaint(() => {
    const drawSetups = setupsView(fields, vyr.kinds(), state);
    views.push(drawSetups);
    drawSetups(state.get(), new Set(['setups']));
    analyses = scheduler(vyr, apply);
    analyses.list(state.get().list.bytes, state.get().list.form);
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
