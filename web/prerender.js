// Writes the core's inputs and outputs into the page at build time, so that the form, its labels and its
// defaults paint before the core is ready: each box named by data-fields gets its fields' labels and inputs,
// #sorties its outputs (a range's two ends on one line). The page's script then only wires them.
//   node prerender.js SITE/vyr.js index.html SITE/index.html
const fs = require('fs');
const vm = require('vm');
const [core, source, target] = process.argv.slice(2);
const text = value => String(value).replace(/[&<>"]/g, c => `&#${c.charCodeAt(0)};`);

globalThis.self = globalThis;  // the module is built for pages and workers
vm.runInThisContext(`${fs.readFileSync(core, 'utf8')}\nglobalThis.createVyr = createVyr;`);
globalThis.createVyr().then(vyr => {
  const { inputs, outputs } = vyr.fields();
  const input = f => `<label for="${f.name}">${text(f.pageLabel)}</label>` +
    `<input id="${f.name}" inputmode="numeric" value="${text(f.default)}">`;  // the form says autocomplete="off"
  const output = f => `<output id="${f.name}" aria-label="${text(f.heading)}" aria-live="off"></output>`;
  let lines = '';
  outputs.forEach((f, i) => {
    if (i && outputs[i - 1].pageLabel === f.pageLabel) lines = lines.replace(/<\/dd>$/, ` - ${output(f)}</dd>`);
    else lines += `<dt>${text(f.pageLabel)}</dt><dd>${output(f)}${f.unit ? ` ${text(f.unit)}` : ''}</dd>`;
  });
  const page = fs.readFileSync(source, 'utf8')
    .replace(/(<(div|fieldset)\b[^>]*data-fields="([^"]*)"[^>]*>[\s\S]*?)(<\/\2>)/g, (all, open, tag, names, close) =>
      open + names.split(' ').map(name => input(inputs.find(f => f.name === name))).join('') + close)
    .replace('<dl id="sorties"></dl>', `<dl id="sorties">${lines}</dl>`);
  fs.writeFileSync(target, page);
});
