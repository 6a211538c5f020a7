// The live phone's page in a real headless Chromium: the phone shows, a click on the
// home bar brings the row up (in the picture and in the inspector), a drag skips, the
// music pauses, Settings turns "always show" on and resprings, a hovered node is outlined,
// and the recorded session replays with `lumetrix-sim run` to the same dump and events.
// Then what goes wrong: how long a click takes to show, a SpringBoard crash explained and
// restarted from, and a page beyond the limit told why until a place frees.
//
//   node live-phone.test.mjs --sim PATH/lumetrix-sim --work DIR [--screenshot FILE.png]

import { spawn, spawnSync } from 'node:child_process';
import { mkdtempSync, mkdirSync, readFileSync, rmSync, copyFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import assert from 'node:assert/strict';
import { commandLineOptions, launchChromium, servedAddress, until } from './harness.mjs';
import { clickToFrameInPage } from './click-timing.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const options = commandLineOptions();
const sim = options.sim;
const work = path.resolve(options.work || mkdtempSync(path.join(tmpdir(), 'lumetrix-browser-')));
rmSync(work, { recursive: true, force: true });
mkdirSync(work, { recursive: true });
const serveOut = path.join(work, 'serve');

function step(text) {
  console.log(`- ${text}`);
}

// MARK: The server

function startServer() {
  const server = spawn(sim, ['serve', '--port', '0', '--out', serveOut, path.join(here, 'live-phone.scenario')], { stdio: ['ignore', 'pipe', 'pipe'] });
  let errors = '';
  server.stderr.on('data', (chunk) => { errors += chunk; });
  const address = servedAddress(server, () => errors);
  return { server, address, errors: () => errors };
}

// MARK: The test

const { server, address, errors } = startServer();
const base = await address;
step(`serving at ${base}`);
const chromium = await launchChromium({ acceptDownloads: true });
const browser = chromium.browser;

const api = async (route) => (await fetch(base + route.slice(1))).json();
const inspect = () => api('/api/inspect');

let failed = false;
try {
  const page = browser.pages()[0] || await browser.newPage();
  page.on('pageerror', (error) => { console.error(`page error: ${error.message}`); failed = true; });
  await page.goto(base);

  step('the phone image shows');
  await page.waitForFunction(() => {
    const screen = document.querySelector('#screen');
    return screen.dataset.frame && screen.width > 300;
  }, null, { timeout: 30000 });
  await until('a live phone', async () => (await api('/api/status')).live);

  step('recording starts');
  await page.click('#record');
  await page.waitForSelector('#record.active');

  // Where the home bar's touch target is, from the same dump the inspector reads.
  const dumpBefore = await inspect();
  const target = dumpBefore.players.lockscreen.previoustapview;
  assert.ok(target, 'the lock screen has the tweak\'s touch target');
  assert.equal(dumpBefore.players.lockscreen.subView.hidden, true, 'the row starts hidden');
  const [tx, ty, tw, th] = target.frame;
  const row = dumpBefore.players.lockscreen.subView.frame;
  const image = await page.$('#screen');
  const box = await image.boundingBox();
  const scale = box.width / dumpBefore.points[0];
  const onScreen = (x, y) => ({ x: box.x + x * scale, y: box.y + y * scale });
  const rowPixel = () => page.evaluate(([x, y]) => {
    const screen = document.querySelector('#screen');
    const ratio = screen.width / 375;
    return Array.from(screen.getContext('2d').getImageData(Math.round(x * ratio), Math.round(y * ratio), 1, 1).data);
  }, [row[0] + row[2] * 0.12, row[1] + row[3] * 0.5]);
  const pixelBefore = await rowPixel();

  step('a click on the home bar brings the row up');
  const centre = onScreen(tx + tw / 2, ty + th / 2);
  await page.mouse.click(centre.x, centre.y);
  await until('the row up in the dump', async () => {
    const subView = (await inspect()).players.lockscreen.subView;
    return !subView.hidden && subView.presentationAlpha > 0.99;
  });
  const frameWithRow = (await api('/api/status')).frame;
  await page.waitForFunction((n) => Number(document.querySelector('#screen').dataset.frame) >= n, frameWithRow);
  const pixelAfter = await rowPixel();
  const difference = pixelBefore.slice(0, 3).reduce((sum, value, i) => sum + Math.abs(value - pixelAfter[i]), 0);
  assert.ok(difference > 30, `the picture changes where the row is (${pixelBefore} -> ${pixelAfter})`);
  await page.selectOption('#tree-kind', 'players');
  await page.waitForFunction(() => [...document.querySelectorAll('#tree .node')].some((node) => node.textContent.includes('subView') && !node.classList.contains('hidden-view')));

  step('a drag sends the skip command');
  const from = onScreen(tx + tw * 0.2, ty + th / 2);
  await page.mouse.move(from.x, from.y);
  await page.mouse.down();
  await page.mouse.move(from.x + 60, from.y, { steps: 4 });
  await page.mouse.move(from.x + 120, from.y, { steps: 4 });
  await page.mouse.up();
  await page.waitForFunction(() => document.querySelector('#log').textContent.includes('"skip forward" to the music app (15 s)'));

  step('the music pauses');
  await page.click('#music-pause');
  await page.waitForFunction(() => document.querySelector('#music-state').textContent.startsWith('Paused'));

  step('Settings: always show goes on, the pane resprings, the row stays up');
  await page.click('button[data-line="settings open"]');
  const alwaysShow = '#pane input[aria-label="alwaysshow"]';
  await page.waitForSelector(alwaysShow);
  await page.check(alwaysShow);
  await until('alwaysshow stored', async () => ((await api('/api/status')).settings || {}).values?.alwaysshow === true);
  await page.click('#pane-respring');
  await page.waitForFunction(() => document.querySelector('#log').textContent.includes('SpringBoard restarts (respring)'));
  await until('the new SpringBoard', async () => (await api('/api/status')).live);
  // Well past the 20 s a row stays after a tap.
  const respringAt = (await api('/api/status')).clock?.t ?? 0;
  await page.click('#speed-60');
  await until('half a minute on the phone', async () => ((await api('/api/status')).clock?.t ?? 0) > respringAt + 30, 20000);
  await page.click('#pause');
  await until('the row up after the respring', async () => {
    const players = (await inspect()).players;
    return players.globals.alwaysshow === true && players.lockscreen.subView && !players.lockscreen.subView.hidden
      && players.lockscreen.subView.presentationAlpha > 0.99;
  });

  step('hovering a node outlines its frame');
  await page.selectOption('#tree-kind', 'players');
  const node = page.locator('#tree .node', { hasText: 'subView' }).first();
  await node.hover();
  const outline = await page.$eval('#hover-outline', (element) => ({ display: getComputedStyle(element).display, width: element.offsetWidth, height: element.offsetHeight }));
  assert.equal(outline.display, 'block', 'the outline shows');
  assert.ok(outline.width > 50 && outline.height > 10, `the outline has the row's size (${outline.width} x ${outline.height})`);
  await node.click();
  await page.waitForFunction(() => document.querySelector('#node-fields').textContent.includes('"presentationAlpha"'));

  step('picking: a click on the phone selects the view there instead of tapping');
  const linesBefore = (await api('/api/status')).recording.lines;
  await page.check('#pick');
  const rowNow = (await inspect()).players.lockscreen.subView.frame;
  const pickX = rowNow[0] + rowNow[2] / 2;
  const pickY = rowNow[1] + rowNow[3] / 2;
  const pickAt = onScreen(pickX, pickY);
  await page.mouse.click(pickAt.x, pickAt.y);
  const picked = JSON.parse(await page.$eval('#node-fields', (element) => element.textContent));
  const [px, py, pw, ph] = picked.frame;
  assert.ok(pickX >= px && pickX < px + pw && pickY >= py && pickY < py + ph, `the picked ${picked.class} lies under the click`);
  assert.equal((await api('/api/status')).recording.lines, linesBefore, 'picking ran nothing');
  await page.uncheck('#pick');
  await page.selectOption('#tree-kind', 'players');
  await page.locator('#tree .node', { hasText: 'subView' }).first().click();

  const shot = path.join(work, 'live-phone.png');
  await page.screenshot({ path: shot });
  if (options.screenshot)
    copyFileSync(shot, options.screenshot);
  step(`screenshot: ${shot}`);

  step('the recording replays to the same dump and events');
  await page.fill('#line', 'dump players live-final.json');
  await page.press('#line', 'Enter');
  await page.waitForFunction(() => document.querySelector('#message').textContent.includes('ran: dump players'));
  await page.click('#record');
  await page.waitForSelector('#record:not(.active)');
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#download')]);
  const scenario = path.join(work, 'session.scenario');
  await download.saveAs(scenario);
  const text = readFileSync(scenario, 'utf8');
  assert.match(text, /# Recording starts[\s\S]*tap screen[\s\S]*swipe lockscreen right[\s\S]*settings set alwaysshow true[\s\S]*settings respring[\s\S]*# Recording ends/);
  const replayDir = path.join(work, 'replay');
  const replay = spawnSync(sim, ['run', scenario, '--dumps', replayDir, '--events', path.join(work, 'replay-events.jsonl')], { encoding: 'utf8' });
  assert.equal(replay.status, 0, `the replay runs clean:\n${replay.stderr}`);
  const live = JSON.parse(readFileSync(path.join(serveOut, 'live-final.json'), 'utf8'));
  const replayed = JSON.parse(readFileSync(path.join(replayDir, 'live-final.json'), 'utf8'));
  assert.deepEqual(replayed, live, 'the replay reaches the live dump');
  const events = (file) => readFileSync(file, 'utf8').trim().split('\n').map((line) => JSON.parse(line));
  const liveEvents = events(path.join(serveOut, 'events.jsonl'));
  const replayEvents = events(path.join(work, 'replay-events.jsonl'));
  assert.deepEqual(replayEvents, liveEvents.slice(0, replayEvents.length), 'the replay logs the same events');
  assert.ok(replayEvents.length > 10, 'the session logged events');
  step('a click shows its frame in the page (the clock paused, so only clicks change the screen)');
  await page.click('#pause');
  // Enough clicks that one run's median says something.
  const timing = await clickToFrameInPage(page, dumpBefore.points[0], tx + tw / 2, ty + th / 2, 40);
  assert.equal(timing.clickToFrame.length, 40, 'every click\'s frame was shown');
  console.log(`  ${timing.summary}`);

  step('the picture painted from pieces is the whole frame the server gives');
  assert.ok((await page.evaluate(() => window.lumetrixTimings().piecesPainted)) > 0, 'clicks came as pieces');
  const mismatch = await page.evaluate(async () => {
    const screen = document.querySelector('#screen');
    const whole = new Image();
    whole.src = `/frame?n=${screen.dataset.frame}`;
    await whole.decode();
    const copy = document.createElement('canvas');
    copy.width = screen.width;
    copy.height = screen.height;
    copy.getContext('2d').drawImage(whole, 0, 0);
    const painted = screen.getContext('2d').getImageData(0, 0, screen.width, screen.height).data;
    const served = copy.getContext('2d').getImageData(0, 0, screen.width, screen.height).data;
    let sum = 0;
    let far = 0;
    for (let i = 0; i < painted.length; i += 4) {
      const d = Math.abs(painted[i] - served[i]) + Math.abs(painted[i + 1] - served[i + 1]) + Math.abs(painted[i + 2] - served[i + 2]);
      sum += d;
      far += d > 48;
    }
    return { mean: sum / (painted.length / 4), far, size: [whole.naturalWidth, whole.naturalHeight, screen.width, screen.height] };
  });
  assert.deepEqual(mismatch.size.slice(0, 2), mismatch.size.slice(2), 'the whole frame has the canvas\'s size');
  // The server's whole frame is the same pieces painted and encoded once more: JPEG's
  // small differences, nothing out of place.
  assert.ok(mismatch.mean < 2 && mismatch.far < 50, `the page shows what the whole frame shows (${JSON.stringify(mismatch)})`);

  step('SpringBoard crashes: the page says why');
  const childrenOf = (pid) => {
    try {
      return readFileSync(`/proc/${pid}/task/${pid}/children`, 'utf8').trim().split(/\s+/).filter(Boolean).map(Number);
    } catch (error) {
      return [];
    }
  };
  const startedAt = (pid) => Number(readFileSync(`/proc/${pid}/stat`, 'utf8').split(') ')[1].split(' ')[19]);
  const [keeper] = childrenOf(server.pid);
  const [device] = childrenOf(keeper);
  // SpringBoard is the device process's youngest child (the Settings app starts first).
  const springBoard = childrenOf(device).sort((a, b) => startedAt(b) - startedAt(a))[0];
  // SIGABRT, not SIGSEGV: under AddressSanitizer a SIGSEGV is the sanitizer's to report,
  // and the process then exits instead of dying by the signal.
  process.kill(springBoard, 'SIGABRT');
  await page.waitForFunction(() => document.querySelector('#message').textContent.includes('SpringBoard crashed (signal 6)'));

  step('the device picker keeps the user\'s choice; a restart on it clears the message and keeps the first phone\'s files');
  const devices = (await api('/api/status')).devices;
  const firstDevice = (await api('/api/status')).phone.device;
  const other = devices.find((name) => name !== firstDevice);
  await page.selectOption('#device', other);
  await page.click('#time');
  await new Promise((resolve) => setTimeout(resolve, 2500));
  assert.equal(await page.$eval('#device', (element) => element.value), other, 'the picker still shows the choice');
  await page.click('#restart');
  await until('the phone on the other device', async () => {
    const status = await api('/api/status');
    return status.live && status.phone?.device === other;
  });
  await page.waitForFunction(() => !document.querySelector('#message').textContent.includes('stopped'));
  assert.ok(readFileSync(path.join(serveOut, 'events.1.jsonl'), 'utf8').length > 0, 'the first phone\'s event log is kept');

  step('a page beyond the limit says why, and follows the phone once a page closes');
  const streams = [];
  for (let open = 1; open < 8; ++open) {
    const controller = new AbortController();
    const response = await fetch(base + 'events', { signal: controller.signal });
    assert.equal(response.status, 200, `stream ${open + 1} of 8 opens`);
    streams.push(controller);
  }
  const late = await browser.newPage();
  await late.goto(base);
  await late.waitForFunction(() => document.querySelector('#message').textContent.includes('Too many pages'));
  streams.pop().abort();
  await late.waitForFunction(() => document.querySelector('#message').textContent.includes('follows the phone again'), null, { timeout: 15000 });
  await late.waitForFunction(() => Number(document.querySelector('#screen').dataset.frame) > 0);
  for (const controller of streams)
    controller.abort();
  await late.close();
  console.log('browser test passed');
} catch (error) {
  console.error(error);
  console.error(`--- serve's standard error:\n${errors()}`);
  failed = true;
} finally {
  await chromium.close();
  server.kill('SIGTERM');
  await new Promise((resolve) => server.on('exit', resolve));
}
process.exit(failed ? 1 : 0);
