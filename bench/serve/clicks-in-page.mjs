// Click to frame shown in a real page: opens a running `lumetrix-sim serve` in headless
// Chromium, pauses its clock (so only clicks change the screen), clicks the lock screen's
// home bar N times and prints what the page measured, the median and the steps in between.
//
//   node clicks-in-page.mjs --address http://127.0.0.1:PORT/ [--clicks N]
//
// Exits 77 with a word on standard error when Chromium or Playwright is missing.

import { existsSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const browserTests = path.join(here, '..', '..', 'tests', 'browser');
if (!existsSync('/usr/bin/chromium') || !existsSync(path.join(browserTests, 'node_modules', 'playwright-core', 'package.json'))) {
  console.error('no Chromium or playwright-core (scripts/setup installs them)');
  process.exit(77);
}
const { commandLineOptions, launchChromium, until } = await import(path.join(browserTests, 'harness.mjs'));
const { clickToFrameInPage } = await import(path.join(browserTests, 'click-timing.mjs'));

const options = commandLineOptions();
const base = options.address;
const clicks = Number(options.clicks || 40);
if (!base || !Number.isInteger(clicks) || clicks < 1) {
  console.error('usage: clicks-in-page.mjs --address URL [--clicks N (at least 1)]');
  process.exit(2);
}

const chromium = await launchChromium();
let status = 0;
try {
  const page = chromium.browser.pages()[0] || await chromium.browser.newPage();
  await page.goto(base);
  await page.waitForFunction(() => Number(document.querySelector('#screen').dataset.frame) > 0, null, { timeout: 30000 });
  await page.click('#pause');
  await until('the clock paused', async () => (await (await fetch(new URL('api/status', base))).json()).speed === 0);
  const inspection = await (await fetch(new URL('api/inspect', base))).json();
  const [x, y, width, height] = inspection.players.lockscreen.previoustapview.frame;
  const result = await clickToFrameInPage(page, inspection.points[0], x + width / 2, y + height / 2, clicks);
  console.log(result.summary);
} catch (error) {
  console.error(error);
  status = 1;
} finally {
  await chromium.close();
}
process.exit(status);
