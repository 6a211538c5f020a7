// The live phone following a real mpv on a private bus, in a real headless Chromium: the
// page's log names the player followed, and a click on the home bar's centre (after one
// that brings the row up) leaves mpv paused, as playerctl, a client of its own, sees it.
//
//   node music-player.test.mjs --sim PATH/lumetrix-sim --work DIR --plugin PATH/mpris.so

import { spawn, spawnSync } from 'node:child_process';
import { mkdirSync, rmSync } from 'node:fs';
import path from 'node:path';
import assert from 'node:assert/strict';
import { commandLineOptions, launchChromium, servedAddress, until } from './harness.mjs';

const options = commandLineOptions();
const work = path.resolve(options.work);
rmSync(work, { recursive: true, force: true });
mkdirSync(path.join(work, 'one'), { recursive: true });

// Every child in a process group of its own, killed with its group at the end, however
// the test ends.
const children = [];
function start(command, args, env) {
  const child = spawn(command, args, { stdio: ['ignore', 'pipe', 'pipe'], detached: true, env: { ...process.env, ...env } });
  children.push(child);
  return child;
}
function stopAll() {
  for (const child of children.reverse()) {
    try { process.kill(-child.pid, 'SIGTERM'); } catch { /* already gone */ }
  }
}
process.on('exit', stopAll);

const ffmpeg = spawnSync('ffmpeg', ['-loglevel', 'error', '-y', '-f', 'lavfi', '-i', 'sine=frequency=440:duration=60', '-metadata', 'title=Tone One',
  '-metadata', 'artist=Test Tones', path.join(work, 'one', 'tone.flac')]);
assert.equal(ffmpeg.status, 0, `ffmpeg made the tone: ${ffmpeg.stderr}`);

const daemon = start('dbus-daemon', ['--session', '--nofork', '--nopidfile', '--print-address=1']);
const address = await new Promise((resolve, reject) => {
  let text = '';
  daemon.stdout.on('data', (chunk) => {
    text += chunk;
    if (text.includes('\n'))
      resolve(text.split('\n')[0]);
  });
  daemon.on('exit', () => reject(new Error('dbus-daemon stopped')));
});
const bus = { DBUS_SESSION_BUS_ADDRESS: address };
const playerctl = (...args) => spawnSync('playerctl', ['--player=mpv', ...args], { env: { ...process.env, ...bus } }).stdout.toString().trim();

start('mpv', ['--no-config', '--no-video', '--ao=null', '--really-quiet', `--script=${options.plugin}`, path.join(work, 'one', 'tone.flac')], bus);
await until('mpv playing on the private bus', async () => playerctl('status') === 'Playing');

const server = start(options.sim, ['serve', '--port', '0', '--out', path.join(work, 'serve'), '--music', 'mpris:mpv'], bus);
const base = await servedAddress(server);
const api = async (route) => (await fetch(base + route.slice(1))).json();

const chromium = await launchChromium();
const browser = chromium.browser;
let failed = false;
try {
  const page = browser.pages()[0] || await browser.newPage();
  await page.goto(base);
  await page.waitForFunction(() => document.querySelector('#screen').width > 300 && Number(document.querySelector('#screen').dataset.frame) > 0, null, { timeout: 30000 });
  await page.waitForFunction(() => document.querySelector('#log').textContent.includes('following the player org.mpris.MediaPlayer2.mpv'), null, { timeout: 20000 });
  console.log('- the page names the player followed');

  // The strip is built 3 s after boot.
  const target = await until('the lock-screen touch target', async () => (await api('/api/inspect')).players?.lockscreen?.previoustapview);
  const points = (await api('/api/inspect')).points;
  const box = await (await page.$('#screen')).boundingBox();
  const scale = box.width / points[0];
  const [tx, ty, tw, th] = target.frame;
  const centre = { x: box.x + (tx + tw / 2) * scale, y: box.y + (ty + th / 2) * scale };
  await page.mouse.click(centre.x, centre.y);
  await until('the row up', async () => !(await api('/api/inspect')).players.lockscreen.subView.hidden);
  await page.mouse.click(centre.x, centre.y);
  await until('mpv paused by the centre tap', async () => playerctl('status') === 'Paused', 5000);
  console.log('- a click on the centre paused mpv');
} catch (error) {
  console.error(error);
  failed = true;
} finally {
  await chromium.close();
  stopAll();
}
process.exit(failed ? 1 : 0);
