// Renders the program's icon (shell/icon/vyr-degats.svg) into the page's 192-pixel WebP icon
// with the system's Chromium; the WebP is kept in the repository, so building needs no browser.
//   node icons/make-icons.js   (from web/)
const { chromium } = require('@playwright/test');
const fs = require('fs');
const path = require('path');

const svg = fs.readFileSync(path.join(__dirname, '../../shell/icon/vyr-degats.svg'), 'utf8');
(async () => {
  const browser = await chromium.launch({ executablePath: process.env.VYR_CHROMIUM || '/usr/bin/chromium' });
  const page = await browser.newPage();
  const data = await page.evaluate(async svg => {
    const image = new Image();
    image.src = `data:image/svg+xml;charset=utf-8,${encodeURIComponent(svg)}`;
    await image.decode();
    const canvas = Object.assign(document.createElement('canvas'), { width: 192, height: 192 });
    canvas.getContext('2d').drawImage(image, 0, 0, 192, 192);
    return canvas.toDataURL('image/webp', 0.5);
  }, svg.replace('width="32" height="32"', 'width="192" height="192"'));
  fs.writeFileSync(path.join(__dirname, 'icon-192.webp'), Buffer.from(data.split(',')[1], 'base64'));
  await browser.close();
})();
