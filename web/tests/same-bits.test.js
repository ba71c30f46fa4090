// The page must compute what the native vyr computes, bit for bit: random spell files and
// random input sets, weighted towards the edges of edges.json, run in both.
const { test, expect } = require('@playwright/test');
const { execFileSync } = require('child_process');
const fs = require('fs'), os = require('os'), path = require('path');
const { sitePage, nativeVyr } = require('./paths');
const edges = require('./edges.json');

const files = 5, setsPerFile = 2000, spellsPerFile = 60;

test('the page and the native vyr give the same 16 outputs', async ({ page }) => {
  let seed = 20261206;  // mulberry32: the same sets on every run
  const random = () => {
    let t = Math.imul((seed = (seed + 0x6d2b79f5) | 0) ^ (seed >>> 15), 1 | seed);
    t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  const pick = list => list[Math.floor(random() * list.length)];
  const below = limit => Math.floor(random() * limit);
  const spellNumber = () => (random() < 0.7 ? pick(edges.spellNumbers) : String(below(4294967296) - 2147483648));
  const input = () => (random() < 0.6 ? pick(edges.inputs) : String(below(random() < 0.5 ? 1000 : 4294967296)));
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'vyr-same-bits-'));
  await page.goto(sitePage);
  const { inputs, outputs } = await page.evaluate(() => window.vyr.fields());
  let compared = 0, differences = [];
  for (let file = 0; file < files; file++) {
    const [plain, data, batch] = [`spells-${file}.txt`, `spells-${file}.dat`, `sets-${file}.jsonl`]
      .map(name => path.join(dir, name));
    fs.writeFileSync(plain, Array.from({ length: spellsPerFile }, (_, i) => {
      const code = pick(edges.codes), numbers = Array.from({ length: code.startsWith('s') ? 3 : 7 }, spellNumber);
      numbers.splice(3, 0, code);
      return `${pick(edges.names)} ${i}:${pick(edges.armour)} ${numbers.join(' ')} `;
    }).join('\n') + '\n');
    execFileSync(nativeVyr, ['encode', '--force', plain, '-o', data], { stdio: 'ignore' });  // hostile on purpose
    await page.setInputFiles('#fichier', data);
    await expect(page.locator('#etat')).toContainText(`« spells-${file}.dat » : ${spellsPerFile} sorts chargés.`);
    const sets = Array.from({ length: setsPerFile }, () => {
      const set = Object.fromEntries(inputs.map(f => [f.name, input()]));
      if (random() < 0.5) set.level = pick(edges.levels);
      return { index: Math.floor(random() * spellsPerFile), ...set };
    });
    fs.writeFileSync(batch, sets.map(set => JSON.stringify(set)).join('\n') + '\n');
    const native = execFileSync(nativeVyr, ['batch', '--data', data, '--json', batch], { maxBuffer: 1 << 28 })
      .toString().trim().split('\n').map(line => JSON.parse(line));
    const inPage = await page.evaluate(all => all.map(({ index, ...set }) => window.vyr.run(index, set)), sets);
    native.forEach((line, i) => outputs.forEach(({ name }) => {
      const expected = line.outputs || line;
      if (!(name in expected) || String(expected[name] ?? '') !== String(inPage[i][name] ?? ''))
        differences.push({ file, set: sets[i], name, native: expected[name], page: inPage[i][name] });
    }));
    compared += native.length;
  }
  expect([compared >= 10000, differences.slice(0, 5)]).toEqual([true, []]);
  fs.rmSync(dir, { recursive: true });
});
