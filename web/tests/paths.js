// Where the tests find the built page and the native vyr (scripts/test-web builds both).
const path = require('path');
const root = path.resolve(__dirname, '../..');
const site = process.env.VYR_SITE || path.join(root, 'build/web/site');
module.exports = {
  root,
  site,
  sitePage: `file://${site}/index.html`,
  nativeVyr: process.env.VYR_NATIVE || path.join(root, 'build/dev/bin/vyr'),
};
