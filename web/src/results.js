import { $, element, show } from './dom.js';

// The core's 24 inputs in the boxes that lay them out (data-fields), named by the core's page
// labels; their texts are written from the state, and typing raises actions. Typing accepts
// digits only, as in the dialog's fields; leaving a field applies its rule.
export function inputsView(fields, actions) {
  const inputs = {};
  for (const box of document.querySelectorAll('[data-fields]')) {
    for (const name of box.dataset.fields.split(' ')) {
      const field = fields.inputs.find(f => f.name === name);
      const input = element('input', { id: name, inputMode: 'numeric', autocomplete: 'off' });
      input.addEventListener('beforeinput', event => { if (/\D/.test(event.data || '')) event.preventDefault(); });
      input.addEventListener('input', () => actions.type(name, input.value));
      input.addEventListener('blur', () => actions.leave(name));
      box.append(element('label', { htmlFor: name, textContent: field.pageLabel }), input);
      inputs[name] = input;
    }
  }
  return (state, what) => {
    if (!what.has('inputs')) return;
    for (const name in inputs) if (inputs[name].value !== state.inputs[name]) inputs[name].value = state.inputs[name];
  };
}

// The core's 16 outputs; outputs that share a label (a range) share a line: "min - max".
// Each is named by its own heading (the two ends apart) and none speaks up: the one
// polite summary does, which reads the spell, then each output that holds a value.
export function resultView(fields) {
  const outputs = {};
  let line;
  fields.outputs.forEach((field, i) => {
    const out = element('output', { id: field.name });
    out.setAttribute('aria-label', field.heading);
    out.setAttribute('aria-live', 'off');
    outputs[field.name] = out;
    if (i && fields.outputs[i - 1].pageLabel === field.pageLabel) return line.append(' - ', out);
    line = element('dd', {}, out);
    $('sorties').append(element('dt', { textContent: field.pageLabel }), line);
    if (field.unit) out.after(' ' + field.unit);
  });
  return ({ result, list, spell, element: kind }, what) => {
    if (!what.has('result')) return;
    for (const name in outputs) {
      const text = show(result[name]);
      if (outputs[name].value !== text) outputs[name].value = text;
    }
    const filled = f => result[f.name] !== null && result[f.name] !== undefined && f.name !== 'specialText';
    const said = fields.outputs.filter(filled).map(f => `${f.heading} ${show(result[f.name])}`).join(', ');
    const summary = spell === null ? 'Aucun sort choisi.' : `${list.names[spell]} : ${said || 'aucun effet'}.`;
    if ($('resume').textContent !== summary) $('resume').textContent = summary;
    $('element').textContent = kind ? `Élément : ${kind}` : '';
  };
}
