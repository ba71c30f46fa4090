// The page on a phone and a desktop, by keyboard and screen reader: an axe-core audit, touch
// targets, the result in view while typing, sorting, the chart by keyboard, what goes stale,
// and spell names holding markup. Expected values live in phone.json.
const { test, expect } = require('@playwright/test');
const { execFileSync } = require('child_process');
const fs = require('fs'), os = require('os'), path = require('path');
const { root, sitePage, nativeVyr, drop, axeViolations, smallTargets } = require('./paths');
const expected = require('./phone.json');

const phone = expected.screens.find(s => s.name === 'phone');
const focusedId = page => page.evaluate(() => document.activeElement.id);
// The texts of a table's column, by heading.
const column = (page, table, heading) => page.locator(table).evaluate((table, heading) => {
  const at = [...table.tHead.rows[0].cells].findIndex(th => th.textContent === heading);
  return [...table.tBodies[0].rows].map(row => row.cells[at].textContent);
}, heading);
// Every section scrolled into view once, then nothing left computing.
async function settle(page) {
  for (const section of await page.locator('main > section').all()) await section.scrollIntoViewIfNeeded();
  await expect(page.locator('[aria-busy=true]')).toHaveCount(0);
  await expect(page.locator('#comparaison tbody tr').first()).toBeVisible();
}
async function open(page, screen, scheme = 'light') {
  await page.setViewportSize({ width: screen.width, height: screen.height });
  await page.emulateMedia({ colorScheme: scheme });
  await page.goto(sitePage);
  await expect(page.locator('#effectMin')).not.toBeEmpty();
}

for (const screen of expected.screens) {
  for (const scheme of expected.schemes) {
    test(`axe finds no violation: ${screen.name}, ${scheme}`, async ({ page }) => {
      await open(page, screen, scheme);
      // Two versions of a list under one name: the offer of the new one shows, and what it changes fills its section.
      for (const file of expected.versions.files) await drop(page, fs.readFileSync(path.join(root, file)), 'sorts.txt');
      await page.click('#voir-changements');
      await settle(page);
      await expect(page.locator('#changements tbody tr').first()).toBeVisible();
      expect(await axeViolations(page)).toEqual([]);
      const colours = await page.evaluate(() => [getComputedStyle(document.documentElement).backgroundColor,
        getComputedStyle(document.body).color]);
      const dark = rgb => rgb.match(/\d+/g).slice(0, 3).reduce((sum, c) => sum + Number(c), 0) < 384;
      expect(colours.map(dark), 'background, text').toEqual(scheme === 'dark' ? [true, false] : [false, true]);
    });
  }
}

test.describe('on a phone', () => {
  test.beforeEach(({ page }) => open(page, phone));

  test('the first screen holds the spell, its result and the first inputs', async ({ page }) => {
    for (const id of expected.firstScreen) await expect(page.locator(`#${id}`), id).toBeInViewport();
  });

  test('every control is a 44 px target (a control inside a label: the label)', async ({ page }) => {
    await settle(page);
    expect(await smallTargets(page, expected.touchTarget)).toEqual([]);
  });

  test('with the focus in any input, the result summary is on screen and follows the typing', async ({ page }) => {
    for (const input of await page.locator('#saisie input:not([type=search])').all()) {
      await input.focus();
      await input.fill('7');
      const box = await page.locator('#resume').boundingBox();
      expect(box.y >= 0 && box.y + box.height <= phone.height, await input.getAttribute('id')).toBe(true);
      await expect(page.locator('#resume')).toContainText(await page.locator('#effectMin').textContent());
    }
  });

  test('a message said further down shows at the foot of the screen for a while', async ({ page }) => {
    const { file, text, said } = expected.notice;
    await page.locator('#section-personnages').scrollIntoViewIfNeeded();
    await expect(page.locator('#etat')).not.toBeInViewport();
    await page.setInputFiles('#fichier', { name: file, mimeType: 'image/png', buffer: Buffer.from(text, 'latin1') });
    await expect(page.locator('#etat')).toContainText(said);
    await expect(page.locator('#avis')).toBeInViewport();
    await expect(page.locator('#avis')).toHaveText(await page.locator('#etat').textContent());
    await expect(page.locator('#avis')).toBeHidden({ timeout: 10000 });
  });
});

test('one polite summary speaks; each output has a name of its own; the skip link leads to the result',
  async ({ page }) => {
    await open(page, phone);
    const live = await page.evaluate(() => [...document.querySelectorAll('[aria-live], [role=status], output')]
      .filter(e => e.getAttribute('aria-live') !== 'off').map(e => e.id));
    expect(live).toEqual(expected.liveRegions);
    const names = await page.locator('output').evaluateAll(list => list.map(e => e.getAttribute('aria-label')));
    expect(new Set(names).size).toBe(names.length);
    const { id, target, tabsToSearch } = expected.skipLink;
    await page.keyboard.press('Tab');
    expect(await focusedId(page)).toBe(id);
    await page.keyboard.press('Enter');
    expect(await focusedId(page)).toBe(target);
    await page.keyboard.press('Shift+Tab');
    for (let tabs = 1; tabs <= tabsToSearch && (await focusedId(page)) !== 'recherche'; tabs++) {
      await page.keyboard.press('Tab');
    }
    expect(await focusedId(page)).toBe('recherche');
  });

for (const sort of expected.sorts) {
  test(`sorting by "${sort.heading}": first press ${sort.firstOrder}, then the other way, focus kept`,
    async ({ page }) => {
    await open(page, expected.screens[1]);
    await settle(page);
    const button = page.getByRole('button', { name: sort.heading, exact: true });
    const heading = page.locator('#comparaison th', { has: button });
    await heading.locator('button').focus();
    for (const order of [sort.firstOrder, sort.firstOrder === 'ascending' ? 'descending' : 'ascending']) {
      await page.keyboard.press('Enter');
      await expect(heading).toHaveAttribute('aria-sort', order);
      expect(await page.evaluate(() => document.activeElement.textContent)).toBe(sort.heading);
      // Empty cells last either way; the others in order.
      const values = await column(page, '#comparaison', sort.heading), filled = values.filter(v => v !== '');
      const number = v => Number(v.replace(',', '.'));
      const numbers = filled.every(v => !Number.isNaN(number(v)));
      const sorted = [...filled].sort((a, b) => (numbers ? number(a) - number(b) : a.localeCompare(b, 'fr')));
      expect(values).toEqual([...(order === 'ascending' ? sorted : sorted.reverse()), ...values.slice(filled.length)]);
    }
  });
}

test('no spell found, then a refused and a corrected level range: no stale figure stays', async ({ page }) => {
  const { search, summary, refusedFrom, correctedFrom } = expected.stale;
  await open(page, phone);
  await settle(page);
  await page.fill('#recherche', search);
  await expect(page.locator('#resume')).toHaveText(summary);
  for (const emptied of ['#explication li', '#poids tr', '#ecarts tr', '#courbe svg']) {
    await expect(page.locator(emptied), emptied).toHaveCount(0);
  }
  await page.fill('#recherche', '');
  await page.locator('#section-courbe').scrollIntoViewIfNeeded();
  await page.fill('#de', refusedFrom);
  await expect(page.locator('#erreur-plage')).not.toBeEmpty();
  await expect(page.locator('#courbe svg')).toHaveCount(0);
  await page.fill('#de', correctedFrom);
  await expect(page.locator('#courbe svg')).toHaveCount(1);
  await expect(page.locator('#erreur-plage')).toBeEmpty();
});

test('the chart by keyboard says the values of its table', async ({ page }) => {
  const { firstSaid, lastSaid, valueColumn } = expected.chart;
  await open(page, phone);
  await page.locator('#section-courbe').scrollIntoViewIfNeeded();
  await page.locator('#en-tableau summary').click();
  await expect(page.locator('#valeurs tbody tr').first()).toBeVisible();
  await page.locator('#courbe').focus();
  for (const [key, said, row] of [['Home', firstSaid, 0], ['End', lastSaid, -1]]) {
    await page.keyboard.press(key);
    const value = (await column(page, '#valeurs', valueColumn)).at(row);
    await expect(page.locator('#courbe')).toHaveAttribute('aria-valuetext', new RegExp(`^${said}.* ${value}$`));
    await expect(page.locator('#point')).toHaveText(await page.locator('#courbe').getAttribute('aria-valuetext'));
  }
});

test('spell names holding markup are found through the core\'s folding and shown as text everywhere',
  async ({ page }) => {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'vyr-markup-')), file = path.join(dir, 'balises.dat');
    execFileSync(nativeVyr, ['encode', path.join(root, 'web', expected.markupFile), '-o', file], { stdio: 'ignore' });
    page.on('dialog', dialog => { throw new Error(`a name ran as code: ${dialog.message()}`); });
    await open(page, expected.screens[1]);
    await page.setInputFiles('#fichier', file);
    const names = expected.searches.map(s => s.spell);
    await page.selectOption('#sorts', names);
    await settle(page);
    for (const { typed, spell } of expected.searches) {
      await page.fill('#recherche', typed);
      await expect(page.locator('#sort option:checked'), typed).toHaveText(spell);
    }
    await expect(page.locator('#comparaison tbody td.texte').filter({ hasText: names[1] })).toHaveCount(1);
    await page.locator('#section-courbe').scrollIntoViewIfNeeded();
    await expect(page.locator('#courbe .legend text')).toHaveText(names.slice(-1).concat(names.slice(0, -1)));
    expect(await page.locator('img, svg script, script:not([src])').count()).toBe(0);
    fs.rmSync(dir, { recursive: true });
  });
