// What the page keeps of the player's own things, and the links, setups side by side, filters
// and offline use around them; in the system's Chromium, the site opened from disk unless a
// test serves it. Expected values live in keeps.json.
const { test, expect } = require('@playwright/test');
const { execFileSync, spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { root, site, sitePage, nativeVyr } = require('./paths');
const keeps = require('./keeps.json');

const inputs = page => page.locator('#saisie input:not([type=search])');
const spell = page => page.locator('#sort option:checked');
const ready = async (page, url = sitePage) => {
  await page.goto(url);
  await expect(page.locator('#effectMin')).not.toBeEmpty();
};
// Everything a player sees of a setup: the 24 inputs, the spell, the chosen character and opponent.
const shown = page => page.evaluate(() => [...document.querySelectorAll('#saisie input:not([type=search])')]
  .map(e => e.value).concat(['sort', 'choix-character', 'choix-opponent']
    .map(id => document.getElementById(id).selectedOptions[0]?.textContent)));
const bytesOf = file => {
  if (file.path) return fs.readFileSync(path.join(root, file.path));
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'vyr-keeps-'));
  fs.writeFileSync(path.join(folder, 'plain.txt'), file.plain);
  execFileSync(nativeVyr, ['encode', path.join(folder, 'plain.txt'), '-o', path.join(folder, 'out.dat')]);
  return fs.readFileSync(path.join(folder, 'out.dat'));
};
const drop = (page, file) => page.evaluate(([bytes, name], data = new DataTransfer()) =>
  data.items.add(new File([new Uint8Array(bytes)], name)) && document.body.dispatchEvent(
    new DragEvent('drop', { dataTransfer: data, bubbles: true, cancelable: true })), [[...bytesOf(file)], file.name]);
const choose = (page, name) => page.selectOption('#sort', { label: name });
// The player's own character, opponent and spell, saved under their names.
async function ownSetup(page) {
  const { character, opponent, spell: name, inputs: values } = keeps.own;
  for (const [field, value] of Object.entries(values)) await page.fill(`#${field}`, value);
  await page.fill('#nom-character', character);
  await page.click('#profil-character >> text=Renommer');
  await page.fill('#nom-opponent', opponent);
  await page.click('#profil-opponent >> text=Renommer');
  await choose(page, name);
}

// Nothing outside the folder (or the local server) is asked for, and the page throws nothing.
let requests, errors;
test.beforeEach(async ({ page }) => {
  [requests, errors] = [[], []];
  page.on('request', request => requests.push(request.url()));
  page.on('pageerror', error => errors.push(error.message));
});
test.afterEach(() => expect([...requests.filter(url => !url.startsWith(`file://${site}/`)
  && !url.startsWith('data:') && !url.startsWith('http://127.0.0.1:')), ...errors]).toEqual([]));

test.describe('the player\'s own things', () => {
  test('own spell file kept across a reload, removable; the sample list always there', async ({ page }) => {
    const { own } = keeps.files;
    await ready(page);
    await drop(page, own);
    await expect(page.locator('#etat')).toContainText(keeps.files.keptSaid);
    await page.reload();
    await expect(page.locator('#sort option')).toHaveText(own.names);
    await expect(page.locator('#liste option:checked')).toHaveText(own.name);
    await page.click('#retirer');
    await expect(page.locator('#sort option')).toHaveCount(79);
    await page.reload();
    await expect(page.locator('#liste option')).toHaveText(["Liste d'exemple"]);
  });

  test('a file load keeps the spell by name, else says which spell is shown', async ({ page }) => {
    const { own, other, keptSpell, movedSaid } = keeps.files;
    await ready(page);
    await choose(page, keptSpell);
    await drop(page, own);
    await expect(page.locator('#sort option')).toHaveText(own.names);
    await expect(spell(page)).toHaveText(keptSpell);
    await drop(page, other);
    await expect(page.locator('#etat')).toContainText(movedSaid);
    await expect(spell(page)).toHaveText(other.names[0]);
  });

  test('characters and opponents: renamed, saved under a new name, chosen, deleted, restored', async ({ page }) => {
    await ready(page);
    await ownSetup(page);
    await page.fill('#nom-character', 'Copie');
    await page.click('#profil-character >> text=Enregistrer sous ce nom');
    await page.fill('#level', '90');
    await page.selectOption('#choix-character', keeps.own.character);
    await expect(page.locator('#level')).toHaveValue(keeps.own.inputs.level);
    await page.selectOption('#choix-character', 'Copie');
    await expect(page.locator('#level')).toHaveValue('90');
    await page.reload();
    await expect(page.locator('#choix-character option')).toHaveText([keeps.own.character, 'Copie']);
    await expect(page.locator('#level')).toHaveValue('90');
    await page.click('#profil-character >> text=Supprimer');
    await expect(page.locator('#choix-character option')).toHaveText([keeps.own.character]);
    await expect(page.locator('#level')).toHaveValue(keeps.own.inputs.level);
    await expect(page.locator('#fireResist')).toHaveValue(keeps.own.inputs.fireResist);
  });
});

test.describe('links', () => {
  test("a friend's link shows its setup; the plain reload shows the player's own, untouched", async ({ page }) => {
    const { friend } = keeps.links;
    await ready(page);
    await ownSetup(page);
    const own = await shown(page);
    await ready(page, sitePage + friend.fragment);
    await expect(page.locator('#etat')).toContainText(friend.said);
    await expect(spell(page)).toHaveText(friend.spell);
    for (const [field, value] of Object.entries(friend.inputs)) await expect(page.locator(`#${field}`)).toHaveValue(value);
    expect(page.url()).toBe(sitePage);
    await page.fill('#level', '12');
    await page.reload();
    await expect.poll(() => shown(page)).toEqual(own);
  });

  test('a link without the opponent keeps the player\'s own opponent', async ({ page }) => {
    const { characterOnly } = keeps.links;
    await ready(page);
    await ownSetup(page);
    await ready(page, sitePage + characterOnly.fragment);
    for (const [field, value] of Object.entries(characterOnly.inputs)) {
      await expect(page.locator(`#${field}`)).toHaveValue(value);
    }
    await expect(page.locator('#choix-opponent option:checked')).toHaveText(keeps.own.opponent);
  });

  for (const name of ['damaged', 'missingSpell']) {
    test(`a ${name} link says so in one line and changes nothing`, async ({ page }) => {
      await ready(page);
      await ownSetup(page);
      const own = await shown(page);
      await page.evaluate(fragment => { location.hash = fragment; }, keeps.links[name].fragment);
      await expect(page.locator('#etat')).toContainText(keeps.links[name].said);
      expect(await shown(page)).toEqual(own);
      await page.reload();
      expect(await shown(page)).toEqual(own);
    });
  }

  test('Copier le lien copies the link of what is shown, which rebuilds it elsewhere', async ({ page, context }) => {
    await context.grantPermissions(['clipboard-read', 'clipboard-write']);
    await ready(page);
    await ownSetup(page);
    const own = await shown(page);
    await page.click('#partager');
    await expect(page.locator('#etat')).toContainText('Lien copié');
    const link = await page.evaluate(() => navigator.clipboard.readText());
    expect(link).toBe(await page.locator('#partager').getAttribute('href'));
    const elsewhere = await (await context.browser().newContext()).newPage();
    await ready(elsewhere, link);
    await expect.poll(async () => (await shown(elsewhere)).slice(0, 25)).toEqual(own.slice(0, 25));
  });
});

test.describe('stored data', () => {
  for (const [name, stored] of Object.entries(keeps.stored)) {
    test(`${name} never breaks the page`, async ({ page }) => {
      await ready(page);
      await page.evaluate(({ key, value }) => { localStorage.clear(); localStorage.setItem(key, value); }, stored);
      await page.reload();
      await expect(page.locator('#etat')).toContainText(stored.said);
      await expect(page.locator('#level')).toHaveValue(stored.level);
      await expect(spell(page)).toHaveText(stored.spell);
      await page.fill('#level', '33');
      await page.reload();
      await expect(page.locator('#level')).toHaveValue('33');
    });
  }
});

test.describe('setups side by side, filters, element', () => {
  test('six setups side by side show the figures of vyr diff on the same setups', async ({ page }) => {
    const { characters, opponents, rows, index } = keeps.setups;
    await ready(page);
    for (const [group, saved] of [['character', characters], ['opponent', opponents]]) {
      for (const [name, values] of Object.entries(saved)) {
        // Only this group's fields: the other group's chosen one keeps what it holds.
        await page.evaluate(([values, opponent]) => {
          const box = document.getElementById('fireResist').closest('fieldset');
          for (const f of window.vyr.fields().inputs) {
            const input = document.getElementById(f.name);
            if ((input.closest('fieldset') === box) === opponent) input.value = values[f.name] ?? f.default;
          }
        }, [values, group === 'opponent']);
        await page.fill(`#nom-${group}`, name);
        await page.click(`#profil-${group} >> text=Enregistrer sous ce nom`);
      }
    }
    await choose(page, keeps.setups.spell);
    for (const [r, row] of rows.entries()) {
      await page.selectOption(`#cfg-character-${r}`, row.character);
      await page.selectOption(`#cfg-opponent-${r}`, row.opponent);
    }
    const args = rows.flatMap((row, r) => {
      const values = { ...characters[row.character], ...opponents[row.opponent] };
      const pairs = Object.entries(values).map(([f, v]) => `${f}=${v}`).join(',') || 'level=1';
      return [`--${String.fromCharCode(97 + r)}`, pairs];
    });
    const csv = execFileSync(nativeVyr, ['diff', '--index', String(index), '--csv', ...args],
      { cwd: path.dirname(nativeVyr) }).toString().trim().split('\r\n').map(line => line.split(','));
    const columns = csv[0].flatMap((name, i) => (['index', 'spell', 'output'].includes(name) ? [] : [i]));
    // The page shows at most two decimals: a figure matches the native one to within half a hundredth.
    const near = (cell, native) => cell === native || Math.abs(Number(cell) - Number(native)) <= 0.005 + 1e-9;
    const table = await page.locator('#ecarts tbody tr').evaluateAll(list => list.map(tr => [...tr.cells]
      .map(td => td.textContent.replace(',', '.'))));
    expect(table).toHaveLength(csv.length - 1);
    table.forEach((row, r) => row.forEach((cell, c) => {
      const native = csv[r + 1][columns[c]];
      expect(near(cell, native), `${row[0]}, ${csv[0][columns[c]]}: ${cell} vs ${native}`).toBe(true);
    }));
  });

  for (const filter of keeps.filters) {
    test(`compare filtered: ${filter.name}`, async ({ page }) => {
      await ready(page);
      await page.selectOption('#filtre-element', filter.element);
      await page.selectOption('#filtre-effet', filter.effect);
      const args = ['compare', '--csv', ...(filter.element ? ['--only', filter.element] : [])];
      const native = execFileSync(nativeVyr, args, { cwd: path.dirname(nativeVyr) }).toString().trim().split('\r\n');
      const rows = page.locator('#comparaison tbody tr');
      if (filter.rows !== null) await expect(rows).toHaveCount(filter.rows);
      if (!filter.effect) await expect(rows).toHaveCount(native.length - 1);
      expect(await rows.count()).toBeGreaterThan(0);
    });
  }

  test('the spell\'s element shows with the result', async ({ page }) => {
    await ready(page);
    await page.fill('#recherche', keeps.element.search);
    await expect(page.locator('#element')).toHaveText(keeps.element.said);
  });
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
