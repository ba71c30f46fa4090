// Where the tests find the built page and the native vyr (scripts/test-web builds both), and
// what the page tests share.
const root = require('path').resolve(__dirname, '../..');
const site = process.env.VYR_SITE || `${root}/build/web/site`;
const nativeVyr = process.env.VYR_NATIVE || `${root}/build/dev/bin/vyr`;

// Every test of a file also checks that nothing outside the page's folder (or the test's local
// server) is asked for and that the page throws nothing. (The worker that runs the analyses
// is made from a blob: the page's own memory.)
function watch(test, expect) {
  let requests, errors;
  test.beforeEach(({ page }) => {
    [requests, errors] = [[], []];
    page.on('request', request => requests.push(request.url()));
    page.on('pageerror', error => errors.push(error.message));
  });
  const outside = url => !url.startsWith(`file://${site}/`) && !/^(data|blob):/.test(url)
    && !url.startsWith('http://127.0.0.1:');
  test.afterEach(() => expect([...requests.filter(outside), ...errors]).toEqual([]));
}

// A file dropped on the page, as a player drops one.
const drop = (page, bytes, name) => page.evaluate(([bytes, name], data = new DataTransfer()) =>
  data.items.add(new File([new Uint8Array(bytes)], name)) && document.body.dispatchEvent(
    new DragEvent('drop', { dataTransfer: data, bubbles: true, cancelable: true })), [[...bytes], name]);

// What axe-core finds wrong on the page: a rule and the places it names, each.
const axeViolations = async page => {
  const AxeBuilder = require('@axe-core/playwright').default;
  const { violations } = await new AxeBuilder({ page }).analyze();
  return violations.map(v => `${v.id}: ${v.nodes.map(n => n.target).join(' ')}`);
};
// The controls on screen smaller than least px either way (a control inside a label: the label), by id or name.
const smallTargets = (page, least) => page.evaluate(least => [...document.querySelectorAll(
  'input, select, button, a[href], summary, [tabindex="0"]')]
  .map(e => (e.closest('label') || e)).filter(e => e.checkVisibility())
  .map(e => [e.id || e.ariaLabel || e.textContent.trim().slice(0, 20), e.getBoundingClientRect()])
  .filter(([, box]) => box.width < least || box.height < least).map(([name]) => name), least);

module.exports = {
  root, site, sitePage: `file://${site}/index.html`, nativeVyr, watch, drop, axeViolations, smallTargets,
};
