// The page lays out what the core (vyr.js, WebAssembly) computes: no figure is made here,
// the chart only turns the core's figures into positions.
import { $, element, show } from './dom.js';
import { inputsOf, outputsOf } from './results.js';
import { analyse } from './analyses.js';
import { filter, open } from './spells.js';
import { copyLink, openLink, remember } from './link.js';
import { start } from './keep.js';
import { buildSetups } from './setups.js';

const charted = ['effectPerSecond', 'weightedPerSecond', 'recastDelay', 'moveDelay'];

createVyr().then(vyr => {
  const fields = vyr.fields();
  let pending = false;
  const page = {
    vyr,
    inputs: inputsOf(fields),
    outputs: outputsOf(fields),
    spells: [],
    defaults: Object.fromEntries(fields.inputs.map(f => [f.name, f.default])),
    sortedBy: { column: 'index', descending: false },
    say: text => { $('etat').textContent = text; },
    values: () => Object.fromEntries(Object.entries(page.inputs).map(([name, input]) => [name, input.value])),
    spell: () => ($('sort').value === '' ? null : Number($('sort').value)),
    // The main result at once; the analyses follow in the next frame, so that typing stays quick.
    update() {
      const current = page.spell(), now = page.values();
      const result = current === null ? {} : vyr.run(current, now);
      for (const name in page.outputs) page.outputs[name].value = show(result[name]);
      if (current === null) page.say('Aucun sort ne correspond à la recherche.');
      remember(page, now, page.spells[current]);
      $('element').textContent = current === null ? '' : `Élément : ${vyr.element(current)}`;
      if (!pending) requestAnimationFrame(() => { pending = false; analyse(page); });
      pending = true;
    },
  };
  const { inputs } = page;

  for (const [name, input] of Object.entries(inputs)) {
    // Typing accepts digits only, as in the dialog's fields; leaving a field applies its rule.
    input.addEventListener('beforeinput', event => { if (/\D/.test(event.data || '')) event.preventDefault(); });
    input.addEventListener('blur', () => { input.value = vyr.leave(name, input.value); page.update(); });
  }
  for (const input of [...Object.values(inputs), $('pas'), $('de'), $('jusqua')]) {
    input.addEventListener('input', page.update);
  }
  $('recherche').addEventListener('input', () => filter(page));
  for (const id of ['sort', 'serie', 'sorts', 'avec-adversaire']) $(id).addEventListener('change', page.update);
  $('en-tableau').addEventListener('toggle', page.update);
  $('saisie').addEventListener('submit', event => { event.preventDefault(); page.update(); });
  $('fichier').addEventListener('change', () => open(page, $('fichier').files[0]));
  document.addEventListener('dragover', event => event.preventDefault());
  document.addEventListener('drop', event => { event.preventDefault(); open(page, event.dataTransfer.files[0]); });
  $('courbe').addEventListener('pointerover', event => {
    $('point').textContent = event.target.dataset.texte || $('point').textContent;
  });
  $('partager').addEventListener('click', event => { event.preventDefault(); copyLink(page); });
  $('courbe').addEventListener('click', event => { $('point').textContent = event.target.dataset.texte || ''; });
  window.addEventListener('hashchange', () => openLink(page, location.hash.slice(1)));

  buildSetups(page);
  start(page);
  openLink(page, location.hash.slice(1));
  // Offline once served over http(s); a page opened from disk goes without.
  if (location.protocol.startsWith('http') && 'serviceWorker' in navigator) navigator.serviceWorker.register('sw.js');
  performance.mark('vyr-first-result');
  const headings = Object.fromEntries(vyr.compare({}, 'index', false).columns.map(c => [c.name, c.heading]));
  $('serie').replaceChildren(...charted.map(name => element('option', { value: name, textContent: headings[name] })));
  window.vyr = vyr;  // for the browser tests
});
