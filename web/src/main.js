// The page lays out what the core (vyr.js, WebAssembly) computes: no figure is made here,
// the chart only turns the core's figures into positions.
import { $, element, show } from './dom.js';
import { inputsOf, outputsOf } from './results.js';
import { analyse } from './analyses.js';
import { filter, open, useList } from './spells.js';
import { lastState, remember, restore } from './link.js';

const charted = ['effectPerSecond', 'weightedPerSecond', 'recastDelay', 'moveDelay'];

createVyr().then(vyr => {
  const fields = vyr.fields();
  let pending = false;
  const page = {
    vyr,
    inputs: inputsOf(fields),
    outputs: outputsOf(fields),
    spells: [],
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
  for (const id of ['sort', 'serie', 'sorts', 'config-a']) $(id).addEventListener('change', page.update);
  $('en-tableau').addEventListener('toggle', page.update);
  $('garder-a').addEventListener('click', () => { $('config-a').value = vyr.code(page.values()); page.update(); });
  $('saisie').addEventListener('submit', event => { event.preventDefault(); page.update(); });
  $('fichier').addEventListener('change', () => open(page, $('fichier').files[0]));
  document.addEventListener('dragover', event => event.preventDefault());
  document.addEventListener('drop', event => { event.preventDefault(); open(page, event.dataTransfer.files[0]); });
  $('courbe').addEventListener('pointerover', event => {
    $('point').textContent = event.target.dataset.texte || $('point').textContent;
  });
  $('partager').addEventListener('click', () =>
    page.say("Le lien de cette configuration est dans la barre d'adresse : copiez-le pour le partager."));
  $('courbe').addEventListener('click', event => { $('point').textContent = event.target.dataset.texte || ''; });
  window.addEventListener('hashchange', () => useList(page, page.spells, restore(page, location.hash.slice(1))));

  $('config-a').value = vyr.code({});
  useList(page, vyr.load('/sample.dat'), restore(page, lastState()));
  performance.mark('vyr-first-result');
  const headings = Object.fromEntries(vyr.compare({}, 'index', false).columns.map(c => [c.name, c.heading]));
  $('serie').replaceChildren(...charted.map(name => element('option', { value: name, textContent: headings[name] })));
  window.vyr = vyr;  // for the browser tests
});
