// What a player does on the page, in the system's Chromium, from the built folder opened
// straight from disk. Expected values live in flows.json.
const { test, expect } = require('@playwright/test');
const fs = require('fs');
const path = require('path');
const { root, site, sitePage, watch, drop } = require('./paths');
const flows = require('./flows.json');

const focused = page => page.evaluate(() => document.activeElement.id);

watch(test, expect);
test.beforeEach(async ({ page }) => {
  await page.goto(sitePage);
  await expect(page.locator('#effectMin')).not.toBeEmpty();
});

test.describe('results', () => {
  for (const flow of flows.results) {
    test(`${flow.spell} ${JSON.stringify(flow.inputs)}`, async ({ page }) => {
      await page.fill('#recherche', flow.search);
      await expect(page.locator('#sort option:checked')).toHaveText(flow.spell);
      for (const [name, value] of Object.entries(flow.inputs)) await page.fill(`#${name}`, value);
      // An output the spell leaves empty has its line folded away.
      for (const [name, value] of Object.entries(flow.outputs)) {
        await expect(page.locator(`#${name}`), name).toHaveText(value);
        const line = page.locator('dd', { has: page.locator(`#${name}`) });
        await expect(line, name).toBeVisible({ visible: value !== '' });
      }
      // A whole line as shown: a range reads "min - max", a delay or a chance has its unit.
      for (const [name, text] of Object.entries(flow.lines ?? {})) {
        await expect(page.locator('dd', { has: page.locator(`#${name}`) }), name).toHaveText(text);
      }
    });
  }

  test('typing keeps the digits, Enter keeps the value, leaving the field applies the rule', async ({ page }) => {
    for (const { typed, key, value } of flows.keys) {
      await page.fill('#level', '');
      await page.locator('#level').pressSequentially(typed);
      await page.press('#level', key);
      await expect(page.locator('#level'), `${typed} ${key}`).toHaveValue(value);
    }
  });
});

test('spell files, dropped on the page: a message each, the list replaced only by one that loads', async ({ page }) => {
  const hostile = fs.readdirSync(path.join(root, 'tests/data/malformed')).filter(name => name.endsWith('.dat'))
    .map(name => ({ file: `tests/data/malformed/${name}` }));
  for (const { file, case: name = file, said, list } of [...flows.files, ...hostile]) {
    const before = await page.locator('#sort option').allTextContents();
    await drop(page, fs.readFileSync(path.join(root, file)), path.basename(file));
    await expect(page.locator('#etat')).toContainText(said ?? `« ${path.basename(file)} »`);
    const after = await page.locator('#sort option').allTextContents();
    const loaded = (await page.locator('#etat').textContent()).match(/: (\d+) sorts? chargés?\./);
    expect(loaded ? after.length : after, name).toEqual(loaded ? Number(loaded[1]) : before);
    if (list) expect(after, name).toEqual(list);
  }
});

test('a file past 100 spells: one line says what changes, "Voir" lists every finding', async ({ page }) => {
  const record = n => `Sort ${n === 5 ? 1 : n}:0 1 400 1 ${n === 3 ? 'sxx' : 'f 4 2 10 0'} `;
  await drop(page, Buffer.from(Array.from({ length: 109 }, (_, n) => record(n + 1)).join('\n')), 'trop.txt');
  await expect(page.locator('#etat')).toContainText(flows.tooMany.said.join(' '));
  await expect(page.locator('#sort option')).toHaveCount(100);
  await page.click('#voir-constats');
  await expect(page.locator('#liste-constats li')).toHaveText(flows.tooMany.findings);
});

for (const { case: name, call, args, result, error } of flows.binding.calls) {
  test(`the binding: ${name}`, async ({ page }) => {
    const got = await page.evaluate(([list, call, args]) => window.vyr.load(new TextEncoder().encode(list), 'x', '')
      && window.vyr[call](...args), [flows.binding.list, call, args]);
    expect(got.error?.kind ?? got).toEqual(error ?? result);
  });
}

test('the keyboard alone reaches every field in order and runs the spell; a phone needs no sideways scroll and '
  + 'loads at most the byte budget', async ({ page }) => {
  const { fields, controls, search, spell, effectMin } = flows.keyboard, order = [];
  do await page.keyboard.press('Tab'); while (order.push(await focused(page)) === new Set(order).size);
  const inPage = await page.locator('#saisie input:not([type=search])').evaluateAll(list => list.map(e => e.id));
  expect(inPage).toHaveLength(fields);
  expect(order.slice(0, -1).filter(id => inPage.includes(id))).toEqual(inPage);
  expect(order).toEqual(expect.arrayContaining(controls));
  while (await focused(page) !== 'recherche') await page.keyboard.press('Shift+Tab');
  await page.keyboard.type(`${search}\n`);
  await expect(page.locator('#sort option:checked')).toHaveText(spell);
  await expect(page.locator('#effectMin')).toHaveText(effectMin);
  await page.setViewportSize({ width: 360, height: 740 });
  expect(await page.evaluate(() => document.documentElement.scrollWidth)).toBeLessThanOrEqual(360);
  // The calculator's own files within its budget (the workshop's atelier.* aside), the whole site within its own.
  const sizes = fs.readdirSync(site).map(name => [name, fs.statSync(path.join(site, name)).size]);
  const sum = list => list.reduce((total, [, size]) => total + size, 0);
  expect(sum(sizes.filter(([name]) => !name.startsWith('atelier.'))), 'calculator').toBeLessThanOrEqual(
    flows.budgets.calculator);
  expect(sum(sizes), 'site').toBeLessThanOrEqual(flows.budgets.site);
});

test("no import circle among the page's modules: each module's imports lead back to it nowhere", () => {
  const src = path.join(root, 'web/src'), imports = {};
  for (const name of fs.readdirSync(src)) {
    imports[name] = [...fs.readFileSync(path.join(src, name), 'utf8').matchAll(/from '\.\/([\w.]+)'/g)].map(m => m[1]);
  }
  const reached = (from, seen = new Set()) => imports[from].filter(name => !seen.has(name))
    .reduce((all, name) => reached(name, all.add(name)), seen);
  expect(Object.keys(imports).filter(name => reached(name).has(name))).toEqual([]);
});

test.describe('analyses and sharing', () => {
  test('the chart is the core\'s: a line and a legend entry per spell, and a tap says the nearest point',
    async ({ page }) => {
      const { spells, legend, tapped } = flows.chart;
      await page.selectOption('#sorts', spells);
      await page.locator('#section-courbe').scrollIntoViewIfNeeded();
      await expect(page.locator('#courbe .legend text')).toHaveText(legend);
      await expect(page.locator('#courbe path')).toHaveCount(legend.length);
      await page.locator('#courbe').click({ position: { x: 1, y: 100 } });
      await expect(page.locator('#point')).toHaveText(tapped);
    });

  test("which stat helps most, the opponent's stats said as such; the explanation's numbers in French",
    async ({ page }) => {
      const { search, level, step, stat, gain, opponentStat } = flows.weights;
      await page.fill('#recherche', search);
      await page.fill('#level', level);
      await page.fill('#pas', step);
      await page.locator('#poids').scrollIntoViewIfNeeded();
      await expect(page.locator('#poids tr', { hasText: stat }).locator('td').nth(3)).toHaveText(gain);
      const recast = await page.locator('#recastDelay').textContent();
      await expect(page.locator('#explication li').last()).toContainText(recast);
      await expect(page.locator('#poids td', { hasText: opponentStat })).toHaveCount(1);
      const explained = (await page.locator('#explication li').allTextContents()).join('\n');
      expect(explained).toMatch(/\d,\d/);
      expect(explained).not.toMatch(/\d\.\d/);
    });

  // Each case: what is done, the message said, what is done next and takes that message away.
  const stale = {
    'a search that finds nothing, then cleared': {
      act: p => p.fill('#recherche', 'xyz'), said: 'Aucun sort ne correspond à la recherche.',
      undo: p => p.fill('#recherche', '') },
    'a name already taken, then another typed': {
      act: p => p.click('#add-character'),
      said: 'Le nom « Mon personnage » est déjà pris : choisissez-en un autre.',
      undo: p => p.fill('#nom-character', 'Mage') },
    'a character saved, then another chosen': {
      act: async p => {
        await p.fill('#nom-character', 'Mage');
        await p.click('#add-character');
      },
      said: 'Personnage « Mage » enregistré.', undo: p => p.selectOption('#choix-character', 'Mon personnage') },
  };
  for (const [name, { act, said, undo }] of Object.entries(stale)) {
    test(`a message goes with the state it speaks of: ${name}`, async ({ page }) => {
      await act(page);
      await expect(page.locator('#etat')).toHaveText(said);
      await undo(page);
      await expect(page.locator('#etat')).toHaveText('');
    });
  }
});
