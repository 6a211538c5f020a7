// What the browser tests share: their options, waiting for a condition, the address a
// `lumetrix-sim serve` child prints, and a headless Chromium with a profile of its own
// (removed by close()).

import { chromium } from 'playwright-core';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';

// --name VALUE pairs from the command line, as { name: VALUE }.
export function commandLineOptions() {
  return Object.fromEntries(process.argv.slice(2).reduce((pairs, word, i, all) => (word.startsWith('--') ? [...pairs, [word.slice(2), all[i + 1]]] : pairs), []));
}

// The first truthy value `probe` gives, tried every 100 ms for up to `timeoutMs`.
export async function until(what, probe, timeoutMs = 20000) {
  const start = Date.now();
  for (;;) {
    const value = await probe();
    if (value)
      return value;
    if (Date.now() - start > timeoutMs)
      throw new Error(`timed out waiting for ${what}`);
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
}

// The page's address, once the serving child says it; rejected if the child exits first
// (`errors()` gives what it said on standard error, for the message).
export function servedAddress(server, errors = () => '') {
  return new Promise((resolve, reject) => {
    let text = '';
    server.stdout.on('data', (chunk) => {
      text += chunk;
      const found = text.match(/http:\/\/127\.0\.0\.1:(\d+)\//);
      if (found)
        resolve(found[0]);
    });
    server.on('exit', (code) => reject(new Error(`serve exited (${code}) before it listened:\n${errors()}`)));
  });
}

// Debian's Chromium, headless, in a fresh profile; `extra` adds context options.
export async function launchChromium(extra = {}) {
  const userData = mkdtempSync(path.join(tmpdir(), 'lumetrix-chromium-'));
  const browser = await chromium.launchPersistentContext(userData, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    viewport: { width: 1360, height: 940 },
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
    ...extra,
  });
  return {
    browser,
    async close() {
      await browser.close();
      rmSync(userData, { recursive: true, force: true });
    },
  };
}
