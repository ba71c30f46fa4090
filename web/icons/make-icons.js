// Renders the program's icon (shell/icon/vyr-degats.svg) into the page's PNG icons with the
// system's Chromium; the PNGs are kept in the repository, so building needs no browser.
//   node icons/make-icons.js   (from web/)
const { chromium } = require('@playwright/test');
const fs = require('fs');
const path = require('path');

const svg = fs.readFileSync(path.join(__dirname, '../../shell/icon/vyr-degats.svg'), 'utf8');
(async () => {
  const browser = await chromium.launch({ executablePath: process.env.VYR_CHROMIUM || '/usr/bin/chromium' });
  for (const size of [192]) {
    const page = await browser.newPage({ viewport: { width: size, height: size } });
    const sized = svg.replace('width="32" height="32"', `width="${size}" height="${size}"`);
    await page.setContent(`<body style="margin:0;background:transparent">${sized}</body>`);
    await page.screenshot({ path: path.join(__dirname, `icon-${size}.png`), omitBackground: true });
  }
  await browser.close();
})();
