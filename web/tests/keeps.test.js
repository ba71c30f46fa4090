// What the page keeps of the player's own things, the links that never overwrite them, setups
// side by side, filters and offline use; in the system's Chromium, the site opened from disk
// unless a test serves it. Expected values and stored states live in keeps.json.
const { test, expect } = require('@playwright/test');
const { execFileSync, spawn, spawnSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { root, site, sitePage, nativeVyr, watch, drop: dropBytes } = require('./paths');
const keeps = require('./keeps.json');

const vyr = (...args) => execFileSync(nativeVyr, args).toString();
const spell = page => page.locator('#sort option:checked');
const said = page => page.locator('#etat');
const ready = async (page, url = sitePage) => {
  await page.goto(url);
  await expect(page.locator('#effectMin')).not.toBeEmpty();
};
// A stored state (the page's own format) in place, then the page reloaded on it.
const seed = async (page, state) => {
  await ready(page);
  await page.evaluate(state => localStorage.setItem('vyr-degats/v2', JSON.stringify(state)), state);
  await ready(page);
  await expect(page.locator('#choix-character option').first()).toBeAttached();
};
// Everything a player sees of a setup: the 24 inputs, the spell, the chosen character and opponent.
const shown = page => page.evaluate(() => [...document.querySelectorAll('#saisie input:not([type=search])')]
  .map(e => e.value).concat(['sort', 'choix-character', 'choix-opponent']
    .map(id => document.getElementById(id)?.selectedOptions[0]?.textContent)));
const bytesOf = file => {
  if (file.path) return fs.readFileSync(path.join(root, file.path));
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'vyr-keeps-'));
  fs.writeFileSync(path.join(folder, 'plain.txt'), file.plain);
  vyr('encode', path.join(folder, 'plain.txt'), '-o', path.join(folder, 'out.dat'));
  return fs.readFileSync(path.join(folder, 'out.dat'));
};
const drop = (page, file) => dropBytes(page, bytesOf(file), file.name);
// The page shows at most two decimals, with a comma: a figure matches the native one to within half a hundredth.
const number = text => Number(text.replace(',', '.'));
const near = (cell, native) => cell === native || Math.abs(number(cell) - Number(native)) <= 0.005 + 1e-9;
// A table's rows as shown, cell texts.
const rowsOf = (page, id) => page.locator(`#${id} tbody tr`).evaluateAll(list => list.map(tr => [...tr.cells]
  .map(td => td.textContent)));
watch(test, expect);

test.describe("the player's own things", () => {
  test('own spell file kept across a reload, removable; the sample list always there', async ({ page }) => {
    const { own } = keeps.files;
    await ready(page);
    await drop(page, own);
    await expect(said(page)).toContainText(keeps.files.keptSaid);
    await page.reload();
    await expect(page.locator('#sort option')).toHaveText(own.names);
    await expect(page.locator('#liste option:checked')).toHaveText(own.name);
    await page.click('#retirer');
    await page.reload();
    await expect(page.locator('#liste option')).toHaveText(["Liste d'exemple"]);
    await expect(page.locator('#sort option')).toHaveCount(79);
  });

  test('a file load keeps the spell by name, else says which spell is shown', async ({ page }) => {
    const { own, other, keptSpell, movedSaid } = keeps.files;
    await ready(page);
    await page.selectOption('#sort', { label: keptSpell });
    await drop(page, own);
    await expect(page.locator('#sort option')).toHaveText(own.names);
    await expect(spell(page)).toHaveText(keptSpell);
    await drop(page, other);
    await expect(said(page)).toContainText(movedSaid);
    await expect(spell(page)).toHaveText(other.names[0]);
  });

  test('a file like no spell list opens once confirmed, read as the program would, alike after a reload',
    async ({ page }) => {
      const { unlike } = keeps.files;
      await ready(page);
      const sample = await page.locator('#sort option').allTextContents();
      for (const [button, answer] of [['#annuler', unlike.cancelled], ['#ouvrir-quand-meme', unlike.opened]]) {
        await drop(page, unlike);
        await expect(said(page)).toContainText(unlike.asked);
        await expect(page.locator('#ouvrir-quand-meme')).toBeFocused();
        expect(await page.locator('#sort option').allTextContents()).toEqual(sample);
        await page.click(button);
        await expect(said(page)).toContainText(answer);
      }
      const names = await page.locator('#sort option').allTextContents();
      expect(names).toHaveLength(1);
      await page.reload();
      await expect.poll(() => page.locator('#sort option').allTextContents()).toEqual(names);
      await page.locator('#comparaison').scrollIntoViewIfNeeded();  // the worker reads it alike
      await expect(page.locator('#comparaison tbody tr')).toHaveCount(1, { timeout: 30000 });
    });

  test('characters: renamed, saved under a new name, chosen, deleted; restored at the next visit', async ({ page }) => {
    const [own] = keeps.own.characters;
    await seed(page, keeps.own);
    await page.fill('#nom-character', 'Copie');
    await page.click('#profil-character >> text=Enregistrer sous ce nom');
    await page.fill('#level', '90');
    await page.selectOption('#choix-character', own.name);
    await expect(page.locator('#level')).toHaveValue(own.inputs.level);
    await page.fill('#nom-character', 'Renommée');
    await page.click('#profil-character >> text=Renommer');
    await page.selectOption('#choix-character', 'Copie');
    await page.reload();
    await expect(page.locator('#choix-character option')).toHaveText(['Renommée', 'Copie']);
    await expect(page.locator('#level')).toHaveValue('90');
    await page.click('#profil-character >> text=Supprimer');
    await expect(page.locator('#choix-character option')).toHaveText(['Renommée']);
    await expect(page.locator('#level')).toHaveValue(own.inputs.level);
    await expect(page.locator('#fireResist')).toHaveValue(keeps.own.opponents[0].inputs.fireResist);
  });

  test('a deletion says what went and "Annuler" puts it back, until the next change', async ({ page }) => {
    await seed(page, keeps.own);
    await drop(page, keeps.files.own);
    await expect(said(page)).toContainText(keeps.files.keptSaid);
    for (const { button, gone, back, select, name } of keeps.undo) {
      const before = await shown(page);
      await page.click(button);
      await expect(said(page)).toContainText(gone);
      await page.click('#retablir');
      await expect(said(page)).toContainText(back);
      await expect(page.locator('#retablir')).toBeHidden();
      expect(await shown(page), name).toEqual(before);
      await expect(page.locator(`${select} option:checked`)).toHaveText(name);
    }
    await page.reload();
    await expect(page.locator('#liste option:checked')).toHaveText(keeps.files.own.name);
    await page.click('#delete-character');
    await page.fill('#level', '3');
    await expect(page.locator('#retablir')).toBeHidden();
  });

  test('other bytes under a kept name kept as « NAME (2) »; the same bytes not doubled', async ({ page }) => {
    const { own, other, again } = keeps.files;
    await ready(page);
    await drop(page, own);
    await drop(page, { ...other, name: own.name });
    await expect(page.locator('#sort option')).toHaveText(other.names);
    await drop(page, own);
    await expect(said(page)).toContainText(again);
    await page.reload();
    await expect(page.locator('#liste option')).toHaveText(["Liste d'exemple", own.name, `${own.name} (2)`]);
    await expect(page.locator('#liste option:checked')).toHaveText(own.name);
  });

  test('Exporter, then Importer in a fresh browser: the same files, characters and opponents; not twice',
    async ({ page, browser }) => {
      await seed(page, keeps.setups.stored);
      await drop(page, keeps.files.own);
      await expect(said(page)).toContainText(keeps.files.keptSaid);
      const [download] = await Promise.all([page.waitForEvent('download'), page.click('#exporter')]);
      const file = await download.path(), context = await browser.newContext(), other = await context.newPage();
      await ready(other);
      const lists = ['#choix-character', '#choix-opponent', '#liste'];
      const names = async tab => Promise.all(lists.map(id => tab.locator(`${id} option`).allTextContents()));
      const [mine, fresh] = [await names(page), await names(other)];
      for (const [said, again] of [['Importé : ', false], ['Rien de nouveau à importer.', true]]) {
        await other.setInputFiles('#importer', file);
        await expect(other.locator('#etat')).toContainText(said);
        const theirs = await names(other);
        lists.forEach((id, k) => expect(theirs[k], `${id} ${again}`).toEqual([...new Set([...fresh[k], ...mine[k]])]));
      }
      await other.reload();  // kept, not only shown
      await other.selectOption('#liste', keeps.files.own.name);
      await expect(other.locator('#sort option')).toHaveText(keeps.files.own.names);
      await context.close();
    });

  test('the second of two namesakes stays picked after a reload', async ({ page }) => {
    await ready(page);
    await drop(page, keeps.files.namesakes);
    await page.selectOption('#sort', '1');
    await page.reload();
    await expect(page.locator('#sort')).toHaveValue('1');
  });
});

test('two tabs each keep a character: both stay, in storage and after a reload', async ({ page, context }) => {
  const { kept, typedAgain, names, levels } = keeps.tabs, tabs = [page, await context.newPage()];
  for (const tab of tabs) await ready(tab);
  const stored = () => page.evaluate(() => Object.fromEntries(JSON.parse(localStorage.getItem('vyr-degats/v2'))
    .characters.filter(c => c.inputs.level).map(c => [c.name, c.inputs.level])));
  for (const [k, { name, typed }] of kept.entries()) {
    await tabs[k].fill('#nom-character', name);
    await tabs[k].click('#add-character');
    await tabs[k].fill('#level', typed);
    // As a player switching tabs would, the next tab acts once this write has reached the first tab.
    await expect.poll(stored).toMatchObject({ [name]: typed });
  }
  await tabs[0].fill('#level', typedAgain);  // the first tab writes again, after the second
  await expect.poll(stored).toEqual(levels);
  for (const tab of tabs) {
    await tab.reload();
    await expect(tab.locator('#choix-character option')).toHaveText(names);
  }
});

test.describe('links', () => {
  for (const name of ['friend', 'characterOnly', 'lowerCase', 'missingSpell']) {
    test(`a ${name} link shows its setup; the plain reload shows the player's own, untouched`, async ({ page }) => {
      const link = keeps.links[name];
      await seed(page, keeps.own);
      const own = await shown(page);
      await ready(page, sitePage + link.fragment);
      await expect(said(page)).toContainText(link.said);
      await expect(spell(page)).toHaveText(link.spell);
      for (const [field, value] of Object.entries(link.inputs)) {
        await expect(page.locator(`#${field}`)).toHaveValue(value);
      }
      expect(page.url()).toBe(sitePage);
      await page.fill('#level', '12');
      await page.reload();
      await expect.poll(() => shown(page)).toEqual(own);
    });
  }

  for (const name of ['damaged']) {
    test(`a ${name} link says so in one line and changes nothing`, async ({ page }) => {
      await seed(page, keeps.own);
      const own = await shown(page);
      await page.evaluate(fragment => { location.hash = fragment; }, keeps.links[name].fragment);
      await expect(said(page)).toHaveText(new RegExp(`^${keeps.links[name].said}[^\n]*$`));
      expect(await shown(page)).toEqual(own);
      await page.reload();
      await expect.poll(() => shown(page)).toEqual(own);
    });
  }

  test('Copier le lien copies the link of what is shown, which rebuilds it elsewhere', async ({ page, context }) => {
    await context.grantPermissions(['clipboard-read', 'clipboard-write']);
    await seed(page, keeps.own);
    const own = await shown(page);
    await page.click('#partager');
    await expect(said(page)).toContainText('Lien copié');
    const link = await page.evaluate(() => navigator.clipboard.readText());
    const elsewhere = await (await context.browser().newContext()).newPage();
    await ready(elsewhere, link);
    await expect.poll(async () => (await shown(elsewhere)).slice(0, 25)).toEqual(own.slice(0, 25));
  });
});

for (const [name, stored] of Object.entries(keeps.stored)) {
  test(`stored data: ${name} never breaks the page`, async ({ page }) => {
    await ready(page);
    await page.evaluate(({ key, value, earlier }) => {
      localStorage.clear();
      const text = typeof value === 'string' ? value : JSON.stringify(value);
      for (const [k, v] of Object.entries({ ...earlier, [key]: text })) localStorage.setItem(k, v);
    }, stored);
    await page.reload();
    await expect(said(page)).toContainText(stored.said);
    for (const [key, value] of Object.entries(stored.earlier ?? {})) {
      expect(await page.evaluate(key => localStorage.getItem(key), key), `${key} stays`).toBe(value);
    }
    await expect(page.locator('#level')).toHaveValue(stored.level);
    await expect(spell(page)).toHaveText(stored.spell);
    await page.fill('#level', '33');
    await page.reload();
    await expect(page.locator('#level')).toHaveValue('33');
  });
}

test('stored data the browser will not let the page set aside stays as it was', async ({ page }) => {
  const { key, value, said: full } = keeps.full;
  await ready(page);
  await page.evaluate(({ key, value }) => { localStorage.clear(); localStorage.setItem(key, value); }, keeps.full);
  await page.addInitScript(key => {
    const write = Storage.prototype.setItem;  // the page's own key could be written over; a copy cannot be made
    Storage.prototype.setItem = function (name, text) {
      if (name !== key) throw new DOMException('plein', 'QuotaExceededError');
      write.call(this, name, text);
    };
  }, key);
  await page.reload();
  await expect(said(page)).toContainText(full);
  await page.fill('#level', '33');
  await page.reload();  // leaving the page writes what it keeps, unless told not to
  await expect(said(page)).toContainText(full);
  expect(await page.evaluate(key => localStorage.getItem(key), key)).toBe(value);
});

test('six setups, some with a change, show the figures of vyr diff on the same setups', async ({ page }) => {
  const { stored, rows, index } = keeps.setups;
  await seed(page, stored);
  for (const [r, row] of rows.entries()) {
    if (row.character) await page.selectOption(`#cfg-character-${r}`, row.character);
    if (row.opponent) await page.selectOption(`#cfg-opponent-${r}`, row.opponent);
    if (row.change) await page.selectOption(`#cfg-change-${r}`, row.change[0]);
    if (row.change) await page.fill(`#cfg-value-${r}`, row.change[1]);
  }
  // vyr reads the page's own sample list.
  const sample = `${root}/build/web/web/sample.dat`;
  const csv = vyr('diff', '--data', sample, '--index', String(index), '--csv', ...rows.flatMap((row, r) =>
    [`--${String.fromCharCode(97 + r)}`, row.vyr])).trim().split('\r\n').map(line => line.split(','));
  const columns = csv[0].flatMap((name, i) => (['index', 'spell', 'output'].includes(name) ? [] : [i]));
  // The analyses follow in a worker, for the sections on screen.
  await page.locator('#ecarts').scrollIntoViewIfNeeded();
  await expect(page.locator('#ecarts tbody tr')).toHaveCount(csv.length - 1, { timeout: 30000 });
  const table = await rowsOf(page, 'ecarts');
  table.forEach((row, r) => row.forEach((cell, c) => {
    const native = csv[r + 1][columns[c]];
    expect(near(cell, native), `${row[0]}, ${csv[0][columns[c]]}: ${cell} vs ${native}`).toBe(true);
  }));
  // At 1280 px, the table takes the page's width: six setups and their differences, none cut off.
  await page.setViewportSize({ width: 1280, height: 900 });
  const hidden = await page.locator('#defile-ecarts').evaluate(box => box.scrollWidth - box.clientWidth);
  expect(hidden, 'pixels of the table out of its box').toBeLessThanOrEqual(0);
});

test.describe('a new version of a kept list', () => {
  const { old, fresh, stored, pairs, fileItems } = keeps.versions;
  const open = async page => {
    await seed(page, stored);
    for (const file of [old, fresh]) await drop(page, file);
    await expect(said(page)).toContainText(keeps.versions.said.join(''));
  };

  test('said with what it changes; its section shows each spell\'s change, then the figures of vyr changes for '
    + 'each setup, the most changed first', async ({ page }) => {
    await open(page);
    await page.click('#voir-changements');
    await expect(page.locator('#section-changements')).toBeInViewport();
    await expect(page.locator('#liste-apres option:checked')).toHaveText(fresh.kept);
    await expect(page.locator('#fiches li')).toHaveText(keeps.versions.records);
    // Each setup's figures by vyr changes (which exits 1 when something changed), without the file's own items.
    const native = pairs.flatMap(({ name, vyr: options }) => {
      const csv = spawnSync(nativeVyr, ['changes', old.path, fresh.path, '--csv', ...options], { cwd: root }).stdout;
      return csv.toString().trim().split('\r\n').slice(1).map(line => line.split(','))
        .filter(([, , , , item]) => !fileItems.includes(item))
        .map(([, , spell, , , ...figures]) => [name, spell, ...figures]);
    });
    await expect(page.locator('#changements tbody tr')).toHaveCount(native.length, { timeout: 30000 });
    const rows = await rowsOf(page, 'changements'), key = row => row.slice(0, 3).join(' | ');
    for (const row of native) {
      const shown = rows.find(r => key(r) === key(row)) ?? [];
      expect(row.every((cell, c) => near(shown[c] ?? '', cell)), `${key(row)}: ${shown} vs ${row}`).toBe(true);
    }
    // By percent, then by difference, either sign; a figure from 0 has no percent and comes first.
    const size = ([, , , , , difference, percent]) => [percent ? Math.abs(number(percent))
      : difference ? Infinity : -1, Math.abs(number(difference || '-1'))];
    rows.slice(1).map(size).forEach(([percent, difference], r) => {
      const [above, aboveBy] = size(rows[r]);
      expect(above > percent || (above === percent && aboveBy >= difference), `row ${r + 1}`).toBe(true);
    });
    await page.fill('#level', '41');  // what it said held for the fields shown then
    await expect(said(page)).toBeEmpty();
  });

  test('Remplacer: it takes the kept name, the old one goes; Annuler keeps both again', async ({ page }) => {
    await open(page);
    await page.click('#remplacer');
    await expect(said(page)).toHaveText(keeps.versions.replaced);
    await expect(page.locator('#liste option')).toHaveText(["Liste d'exemple", old.name]);
    await expect(page.locator('#sort option')).toHaveText(fresh.names);
    await page.click('#retablir');
    await expect(said(page)).toHaveText(keeps.versions.restored);
    await expect(page.locator('#nouvelle-version')).toBeVisible();
    await page.reload();
    await expect(page.locator('#liste option')).toHaveText(["Liste d'exemple", old.name, fresh.kept]);
    await page.selectOption('#liste', old.name);
    await expect(page.locator('#sort option')).toHaveText(old.names);
  });
});

test("compare's filters keep the spells of an element and an effect; the element is shown", async ({ page }) => {
  await ready(page);
  await page.selectOption('#sort', { label: keeps.element.spell });
  await expect(page.locator('#element')).toHaveText(keeps.element.said);
  for (const filter of keeps.filters) {
    await page.selectOption('#filtre-element', filter.element);
    await page.selectOption('#filtre-effet', filter.effect);
    await page.locator('#comparaison').scrollIntoViewIfNeeded();
    await expect(page.locator('#comparaison tbody tr'), filter.name).toHaveCount(filter.rows, { timeout: 30000 });
  }
});

test('served over http, the page installs its service worker and reloads offline', async ({ page, context }) => {
  const server = spawn('python3', ['-m', 'http.server', '--bind', '127.0.0.1', '0', '--directory', site]);
  try {
    const port = await new Promise(resolve => server.stdout.on('data', data => {
      const found = /port (\d+)/.exec(String(data));
      if (found) resolve(found[1]);
    }));
    await ready(page, `http://127.0.0.1:${port}/index.html`);
    await page.evaluate(() => navigator.serviceWorker.ready);
    await context.setOffline(true);
    await page.reload();
    await expect(page.locator('#effectMin')).not.toBeEmpty();
    await expect(page.locator('#sort option')).toHaveCount(79);
  } finally {
    await context.setOffline(false);
    server.kill();
  }
});
