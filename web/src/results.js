import { $, show } from './dom.js';

// The core's 24 inputs, which the build writes into the page with their labels and defaults (prerender.js)
// so that they paint before the core is ready; their texts are written from the state, and typing raises
// actions. Typing accepts digits only, as in the dialog's fields; leaving a field applies its rule.
export function inputsView(fields, actions) {
  const inputs = {};
  for (const { name } of fields.inputs) {
    const input = $(name);
    input.addEventListener('beforeinput', event => { if (/\D/.test(event.data || '')) event.preventDefault(); });
    input.addEventListener('input', () => actions.type(name, input.value));
    input.addEventListener('blur', () => actions.leave(name));
    inputs[name] = input;
  }
  return (state, what) => {
    if (!what.has('inputs')) return;
    for (const name in inputs) if (inputs[name].value !== state.inputs[name]) inputs[name].value = state.inputs[name];
  };
}

// The core's 16 outputs, written into the page by the build too; outputs that share a label (a range) share
// a line: "min - max". A line that the result leaves empty is folded away (the build folds those of the
// sample's first spell). The calculator and the workshop show a result so.
export function outputsView(fields) {
  const outputs = Object.fromEntries(fields.outputs.map(({ name }) => [name, $(name)]));
  const lines = [...$('sorties').querySelectorAll('dd')].map(dd => [dd, [...dd.querySelectorAll('output')]]);
  return result => {
    for (const name in outputs) {
      const text = show(result[name]);
      if (outputs[name].value !== text) outputs[name].value = text;
    }
    for (const [dd, held] of lines) {
      dd.hidden = held.every(output => output.value === '');
      dd.previousElementSibling.hidden = dd.hidden;
    }
  };
}

// The result: its outputs, each named by its own heading (the two ends apart) and none speaking up: the one
// polite summary does, which reads the spell, then each output that holds a value.
export function resultView(fields) {
  const showOutputs = outputsView(fields);
  return ({ result, list, spell, element: kind }, what) => {
    if (!what.has('result')) return;
    showOutputs(result);
    const filled = f => result[f.name] !== null && result[f.name] !== undefined && f.name !== 'specialText';
    const said = fields.outputs.filter(filled).map(f => `${f.heading} ${show(result[f.name])}`).join(', ');
    const summary = spell === null ? 'Aucun sort choisi.' : `${list.names[spell]} : ${said || 'aucun effet'}.`;
    if ($('resume').textContent !== summary) $('resume').textContent = summary;
    $('element').textContent = kind ? `Élément : ${kind}` : '';
  };
}
