// The browser tests drive the built page in the system's Chromium: no browser download.
module.exports = {
  testDir: 'tests',
  timeout: 180000,
  workers: 1,
  reporter: 'list',
  use: { launchOptions: { executablePath: process.env.VYR_CHROMIUM || '/usr/bin/chromium' } },
};
