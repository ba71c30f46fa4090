// The spell-file workshop: each editing action and its undo, a finding that comes and goes as a field is typed,
// the saved data file against the native vyr encode of the saved list, the draft across a reload and a second tab,
// a file kept for the calculator, and the page on a phone and a desktop. Expected values live in atelier.json.
const { test, expect } = require('@playwright/test');
const { execFileSync } = require('child_process');
const fs = require('fs'), os = require('os'), path = require('path');
const { site, nativeVyr, watch, axeViolations, smallTargets } = require('./paths');
const expected = require('./atelier.json');

const workshop = `file://${site}/atelier.html`;
const { file } = expected;
const rows = page => page.locator('#lignes tbody tr');
// A row chosen by a click on one of its cells (only the chosen row holds fields), and that cell's field.
async function field(page, row, part = 0) {
  await rows(page).nth(row).locator(`td[data-part="${part}"]`).click();
  return rows(page).nth(row).locator(`input[data-part="${part}"]`);
}
// What a cell shows, as text or in its field; names: the first cell of every row (a line that is no record: its text).
const shown = (page, part) => rows(page).evaluateAll((list, part) => list.map(tr => {
  const td = tr.querySelector(`td[data-part="${part}"]`);
  return td?.querySelector('input')?.value ?? td?.textContent;
}), part);
const names = page => shown(page, 0);
const said = page => page.locator('#etat');
async function openFile(page) {
  await page.goto(workshop);
  await expect(rows(page).first()).toBeAttached();
  await page.setInputFiles('#fichier', { name: file.name, mimeType: 'text/plain',
    buffer: Buffer.from(file.lines.join('\n')) });
  await expect(said(page)).toContainText(`« ${file.name} » ouvert`);
  expect(await names(page)).toEqual(file.names);
}
// A file the page offers as a download, and its bytes.
async function saved(page, button) {
  const [download] = await Promise.all([page.waitForEvent('download'), page.click(button)]);
  return fs.readFileSync(await download.path());
}
watch(test, expect);

test.describe('editing', () => {
  test.beforeEach(({ page }) => openFile(page));

  for (const edit of expected.edits) {
    test(`${edit.name}, then undone and redone`, async ({ page }) => {
      await field(page, edit.row);
      if (edit.button) await page.click(edit.button);
      else await (await field(page, edit.row, edit.part)).fill(edit.typed);
      await expect.poll(() => names(page)).toEqual(edit.names);
      if (edit.fields) await expect(page.locator('#lignes tr.choisie input')).toHaveCount(edit.fields);
      // What the draft now changes against the file as opened, as the core compares two lists.
      await expect(page.locator('#fiches li')).toHaveText(edit.changes ?? [expected.noChange]);
      if (edit.figures) await expect(page.locator('#changements tbody td:nth-child(3)')).toHaveText(edit.figures);
      await page.click('#defaire');
      await expect.poll(() => names(page)).toEqual(file.names);
      await expect(page.locator('#fiches li')).toHaveText([expected.noChange]);
      await page.keyboard.press('Control+y');
      await expect.poll(() => names(page)).toEqual(edit.names);
      await page.keyboard.press('Control+z');
      await expect.poll(() => names(page)).toEqual(file.names);
    });
  }

  test(`${expected.steps} steps all undone, in order, then the draft from before the file was opened`,
    async ({ page }) => {
      await field(page, 0);
      for (let step = 0; step < expected.steps; step++) await page.click('#dupliquer');
      await expect(rows(page)).toHaveCount(file.names.length + expected.steps);
      for (let step = 0; step < expected.steps; step++) await page.click('#defaire');
      expect(await names(page)).toEqual(file.names);
      await page.click('#defaire');
      await expect.poll(async () => (await names(page))[0]).toBe(expected.sampleFirst);
      await expect(page.locator('#defaire')).toBeDisabled();
    });

  test('a finding stands beside its field as typed and goes once mended; the result follows', async ({ page }) => {
    const { row, part, wrong, said: text, mended, errors, before } = expected.finding;
    await expect(page.locator('#compte')).toContainText(before);
    await field(page, row);
    const result = await page.locator('#sorties').textContent(), box = await field(page, row, part);
    await box.fill(wrong);
    await expect(page.locator(`#remarques-${row}`)).toContainText(text);
    await expect(box).toHaveAttribute('aria-invalid', 'true');
    await expect(page.locator('#compte')).toContainText(errors);
    await box.fill(mended);
    await expect(page.locator(`#remarques-${row}`)).toBeEmpty();
    await expect(box).toHaveAttribute('aria-invalid', 'false');
    await expect(page.locator('#compte')).toContainText(before);
    await expect(page.locator('#sorties')).not.toHaveText(result);
  });
});

test('the data file saved is what vyr encode makes of the list saved; lines not edited stay byte for byte',
  async ({ page }) => {
    const { row, part, typed, line } = expected.saved;
    await openFile(page);
    await (await field(page, row, part)).fill(typed);
    const plain = await saved(page, '#enregistrer-txt'), data = await saved(page, '#enregistrer-dat');
    expect(plain.toString().split('\n')).toEqual(file.lines.map((l, k) => (k === row ? line : l)));
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'vyr-atelier-'));
    fs.writeFileSync(path.join(folder, 'list.txt'), plain);
    // The list holds "600ms", an error: vyr encode writes it only when forced, as the page does.
    execFileSync(nativeVyr, ['encode', '--force', path.join(folder, 'list.txt'), '-o', path.join(folder, 'list.dat')],
      { stdio: 'ignore' });
    expect(data.equals(fs.readFileSync(path.join(folder, 'list.dat')))).toBe(true);
    // Round trip: the data file opened again gives the same lines.
    await page.setInputFiles('#fichier', path.join(folder, 'list.dat'));
    await expect(said(page)).toContainText('« list.dat » ouvert');
    expect((await saved(page, '#enregistrer-txt')).equals(plain)).toBe(true);
  });

test('the draft survives a reload and shows in a second tab, which edits it for both', async ({ page, context }) => {
  const { row, part, typed } = expected.saved;
  await openFile(page);
  await (await field(page, row, part)).fill(typed);
  await page.reload();
  await expect.poll(async () => (await shown(page, part))[row]).toBe(typed);
  await expect(said(page)).toContainText(`Brouillon repris (« ${file.name} »)`);
  const second = await context.newPage();
  await second.goto(workshop);
  await expect.poll(async () => (await shown(second, part))[row]).toBe(typed);
  await (await field(second, row)).fill('Givre nouveau');
  await expect.poll(async () => (await names(page))[row]).toBe('Givre nouveau');
});

test('kept for the calculator, which opens it as its list, an open one at once; « Annuler » takes it back',
  async ({ page }) => {
    const { row, part, typed } = expected.saved;
    await openFile(page);
    await (await field(page, row, part)).fill(typed);
    await page.click('#garder');
    await expect(said(page)).toContainText(`« ${file.name} » gardé pour le calculateur`);
    const stored = () => page.evaluate(key => JSON.parse(localStorage.getItem(key)), expected.calculatorKey);
    expect((await stored()).activeFile).toBe(file.name);
    await page.click('#retablir');
    expect((await stored()).files).toEqual([]);
    await page.click('#garder');
    await page.goto(`file://${site}/index.html`);
    await expect(page.locator('#liste option:checked')).toHaveText(file.name);
    await expect(page.locator('#sort option')).toHaveCount(expected.saved.kept + 2);
    await page.click('a[href="atelier.html"]');
    await page.click('#ouvrir-garde');
    await expect(said(page)).toContainText(`« ${file.name} » ouvert`);
    // A calculator left open in another tab shows the list as the workshop keeps it anew, without a reload.
    const calculator = await page.context().newPage();
    await calculator.goto(`file://${site}/index.html`);
    await (await field(page, 0)).fill(expected.saved.renamed);
    await page.click('#garder');
    await expect(calculator.locator('#sort option').first()).toHaveText(expected.saved.renamed);
  });

for (const screen of expected.screens) {
  for (const scheme of expected.schemes) {
    test(`axe finds no violation in the workshop: ${screen.name}, ${scheme}`, async ({ page }) => {
      await page.setViewportSize({ width: screen.width, height: screen.height });
      await page.emulateMedia({ colorScheme: scheme });
      await openFile(page);
      await (await field(page, expected.finding.row, expected.finding.part)).fill(expected.finding.wrong);
      expect(await axeViolations(page)).toEqual([]);
    });
  }
}

test('every control of the workshop is a 44 px target on a phone', async ({ page }) => {
  const phone = expected.screens.find(s => s.name === 'phone');
  await page.setViewportSize({ width: phone.width, height: phone.height });
  await openFile(page);
  expect(await smallTargets(page, expected.touchTarget)).toEqual([]);
});
