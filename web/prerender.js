// Writes the core's inputs and outputs into the page at build time, so that the form, its labels and its
// defaults paint before the core is ready: each box named by data-fields gets its fields' labels and inputs,
// #sorties its outputs (a range's two ends on one line), the lines that the first spell of the sample list
// leaves empty folded away as the page folds them. The page's script then only wires them.
//   node prerender.js SITE/vyr.js index.html SITE/index.html
const fs = require('fs');
const vm = require('vm');
const [core, source, target] = process.argv.slice(2);
const text = value => String(value).replace(/[&<>"]/g, c => `&#${c.charCodeAt(0)};`);

globalThis.self = globalThis;  // the module is built for pages and workers
vm.runInThisContext(`${fs.readFileSync(core, 'utf8')}\nglobalThis.createVyr = createVyr;`);
globalThis.createVyr().then(vyr => {
  const { inputs, outputs } = vyr.fields();
  vyr.load(vyr.sample(), '', 'scrambled');
  const first = vyr.run(0, Object.fromEntries(inputs.map(f => [f.name, f.default])));
  const input = f => `<label for="${f.name}">${text(f.pageLabel)}</label>` +
    `<input id="${f.name}" inputmode="numeric" value="${text(f.default)}">`;  // the form says autocomplete="off"
  const output = f => `<output id="${f.name}" aria-label="${text(f.heading)}" aria-live="off"></output>`;
  const lines = [];  // outputs that share a label share a line
  for (const f of outputs) {
    if (lines.length && lines.at(-1)[0].pageLabel === f.pageLabel) lines.at(-1).push(f);
    else lines.push([f]);
  }
  const html = lines.map(line => {
    const fold = line.every(f => first[f.name] === null) ? ' hidden' : '', { pageLabel, unit } = line[0];
    const after = unit ? ` ${text(unit)}` : '';
    return `<dt${fold}>${text(pageLabel)}</dt><dd${fold}>${line.map(output).join(' - ')}${after}</dd>`;
  }).join('');
  const page = fs.readFileSync(source, 'utf8')
    .replace(/(<(div|fieldset)\b[^>]*data-fields="([^"]*)"[^>]*>[\s\S]*?)(<\/\2>)/g, (all, open, tag, names, close) =>
      open + names.split(' ').map(name => input(inputs.find(f => f.name === name))).join('') + close)
    .replace('<dl id="sorties"></dl>', `<dl id="sorties">${html}</dl>`);
  fs.writeFileSync(target, page);
});
