// Where the tests find the built page and the native vyr (scripts/test-web builds both).
const root = require('path').resolve(__dirname, '../..');
const site = process.env.VYR_SITE || `${root}/build/web/site`;
module.exports = { root, site, sitePage: `file://${site}/index.html`, nativeVyr: process.env.VYR_NATIVE || `${root}/build/dev/bin/vyr` };
