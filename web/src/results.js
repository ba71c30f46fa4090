import { $, element, show } from './dom.js';

// The core's 24 inputs into the boxes that name them (data-fields), with their labels.
export function inputsOf(fields) {
  const inputs = {};
  for (const box of document.querySelectorAll('[data-fields]')) {
    for (const name of box.dataset.fields.split(' ')) {
      const field = fields.inputs.find(f => f.name === name);
      inputs[name] = element('input', { id: name, value: field.default, inputMode: 'numeric', autocomplete: 'off' });
      box.append(element('label', { htmlFor: name, textContent: field.label }), inputs[name]);
    }
  }
  return inputs;
}

// The core's 16 outputs; outputs that share a label (a range) share a line: "min - max".
// Each is named by its own heading (the two ends apart) and none speaks up: the one
// polite summary does.
export function outputsOf(fields) {
  const outputs = {};
  let line;
  fields.outputs.forEach((field, i) => {
    const out = element('output', { id: field.name });
    out.setAttribute('aria-label', field.heading);
    out.setAttribute('aria-live', 'off');
    outputs[field.name] = out;
    if (i && fields.outputs[i - 1].label === field.label) return line.append(' - ', out);
    line = element('dd', {}, out);
    $('sorties').append(element('dt', { textContent: field.label }), line);
    if (field.unit) out.after(' ' + field.unit);
  });
  return outputs;
}

// The outputs written, and the summary line: the spell, then each output that holds a value.
export function showResult(fields, outputs, result, spellName) {
  for (const name in outputs) {
    const text = show(result[name]);
    if (outputs[name].value !== text) outputs[name].value = text;
  }
  const filled = f => result[f.name] !== null && result[f.name] !== undefined && f.name !== 'specialText';
  const said = fields.outputs.filter(filled).map(f => `${f.heading} ${show(result[f.name])}`).join(', ');
  const summary = spellName === undefined ? 'Aucun sort choisi.' : `${spellName} : ${said || 'aucun effet'}.`;
  if ($('resume').textContent !== summary) $('resume').textContent = summary;
}
