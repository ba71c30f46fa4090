// How the page is served, starts and what it allows itself: the service worker's patience with a network that
// never answers, the page's content security policy, from disk and over http, the form before any script, and
// a page that stays put as it fills; in the system's Chromium.
const { test, expect } = require('@playwright/test');
const fs = require('fs');
const http = require('http');
const path = require('path');
const { site, sitePage, watch } = require('./paths');

watch(test, expect);
// The site on loopback, as a host that says no-cache; once `stall` is set, it takes connections and never answers.
async function serve(run) {
  const server = http.createServer((request, response) => {
    if (server.stall) return;
    const asked = path.normalize(new URL(request.url, 'http://x').pathname);
    const name = path.join(site, asked === '/' ? 'index.html' : asked);
    if (!name.startsWith(site) || !fs.existsSync(name)) return response.writeHead(404).end();
    const type = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css' }[path.extname(name)];
    response.writeHead(200, { 'Cache-Control': 'no-cache', ...(type && { 'Content-Type': `${type}; charset=utf-8` }) });
    response.end(fs.readFileSync(name));
  });
  await new Promise(resolve => server.listen(0, '127.0.0.1', resolve));
  try {
    await run(server, `http://127.0.0.1:${server.address().port}/index.html`);
  } finally {
    server.closeAllConnections();
    server.close();
  }
}
const computes = async (page, url, timeout) => {
  await page.goto(url, { timeout });
  await expect(page.locator('#effectMin')).not.toBeEmpty({ timeout });
};

test('a network that takes the connection and never answers: the page opens from what was kept', async ({ page }) => {
  await serve(async (server, url) => {
    await computes(page, url);
    await page.evaluate(() => navigator.serviceWorker.ready);
    server.stall = true;
    const start = Date.now();
    await computes(page, url, 20000);
    expect(Date.now() - start).toBeLessThan(15000);
  });
});

test.describe('the content security policy', () => {
  for (const served of [false, true]) {
    test(served ? 'over http' : 'from disk', async ({ page }) => {
      const broken = [];
      await page.exposeFunction('violated', what => broken.push(what));
      await page.addInitScript(() => addEventListener('securitypolicyviolation',
        event => window.violated(`${event.violatedDirective} ${event.blockedURI}`)));
      const check = async url => {
        await computes(page, url);
        await page.locator('#section-courbe').scrollIntoViewIfNeeded();  // the worker starts, the chart is drawn
        await expect(page.locator('#courbe svg')).toBeAttached({ timeout: 30000 });
        expect(await page.evaluate(() => document.querySelector('meta[http-equiv=Content-Security-Policy]')?.content))
          .toMatch(/object-src 'none'.*base-uri 'none'/s);
        expect(broken).toEqual([]);
      };
      if (served) await serve((server, url) => check(url));
      else await check(sitePage);
    });
  }
});

test("before any script runs, the page shows the core's whole form: inputs, labels, defaults, outputs folded", async ({
  page, browser }) => {
  await computes(page, sitePage);
  const { inputs, outputs } = await page.evaluate(() => window.vyr.fields());
  const bare = await (await browser.newContext({ javaScriptEnabled: false })).newPage();
  await bare.goto(sitePage);
  for (const { name, pageLabel, default: value } of inputs) {
    await expect(bare.locator(`label[for=${name}]`)).toHaveText(pageLabel);
    await expect(bare.locator(`#${name}`)).toHaveValue(value);
  }
  for (const { name, heading } of outputs) {
    await expect(bare.locator(`output#${name}`)).toHaveAttribute('aria-label', heading);
  }
  // The lines that the first spell leaves empty, folded before the script runs as the page folds them after.
  const shown = where => where.locator('#sorties dt:visible').allTextContents();
  expect(await shown(bare)).toEqual(await shown(page));
  expect((await shown(page)).length).toBeLessThan(await page.locator("#sorties dt").count());
  await bare.context().close();
});

// The Layout Instability API's shifts, summed from the page's start, then again after a jump to each section, from
// the first to the last, each from the settled page (what is drawn as it comes into view must not push what is seen).
for (const width of [360, 1280]) {
  test(`at ${width} px, nothing moves while the page fills in, nor after a jump to any section`, async ({ page }) => {
    await page.setViewportSize({ width, height: width < 600 ? 740 : 900 });
    await page.addInitScript(() => new PerformanceObserver(list => {
      for (const entry of list.getEntries()) window.shifted = (window.shifted ?? 0) + entry.value;
    }).observe({ type: 'layout-shift', buffered: true }));
    const settled = async () => {
      await page.waitForTimeout(500);
      await expect(page.locator('main > section[aria-busy=true]')).toHaveCount(0, { timeout: 30000 });
      return page.evaluate(() => window.shifted ?? 0);
    };
    await computes(page, sitePage);
    expect(await settled(), 'loading').toBeLessThanOrEqual(0.05);
    for (const section of await page.locator('main > section').evaluateAll(all => all.map(s => s.id))) {
      await page.evaluate(id => {
        window.shifted = 0;
        document.getElementById(id).scrollIntoView();
      }, section);
      expect(await settled(), `a jump to ${section}`).toBeLessThanOrEqual(0.05);
    }
  });
}
