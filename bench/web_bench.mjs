// The browser build's figures: the size of the site, the time to the start
// table and to the end of the compressed search of 32 in headless Chromium,
// and the pipe session of bench/session.keys under node against the native
// program, in turns. After make web and make build:
//   node bench/web_bench.mjs [RUNS]
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

import { launch, openTab, root, serve } from '../tests/web/page_driver.mjs';

const runs = Number(process.argv[2] ?? 5);
const site = path.join(root, 'build-web', 'site');
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const range = (values) => `${Math.min(...values).toFixed(0)} - ${Math.max(...values).toFixed(0)}`;

function siteBytes() {
  return fs.readdirSync(site).reduce((sum, name) => sum + fs.statSync(path.join(site, name)).size, 0);
}

// In the page, from the moment its keys go in (or the navigation starts) to
// the frame that shows what is waited for, with the program waiting for keys.
const shows = (...texts) => window.collatzperm?.waiting()
  && texts.every((text) => document.querySelector('.xterm-rows').textContent.includes(text));

async function pageFigures(url) {
  const browser = await launch();
  const start = [];
  const search = [];
  try {
    for (let run = 0; run < runs; ++run) {
      const tab = await openTab(browser, 1000, 640);
      await tab.goto(url, { waitUntil: 'domcontentloaded' });
      await tab.waitForFunction(shows, { polling: 'raf' }, 'Bitte EMTER');
      start.push(await tab.evaluate(() => performance.now()));
      await tab.keyboard.press('Enter');
      await tab.waitForFunction(shows, { polling: 'raf' }, 'Eingabe i (max 32)');
      await tab.keyboard.type('K');
      await tab.keyboard.press('Enter');
      await tab.waitForFunction(shows, { polling: 'raf' }, 'k.m = 17.', 'Eingabe i (max 32)');
      await tab.keyboard.type('32');
      const typed = await tab.evaluate(() => performance.now());
      await tab.keyboard.press('Enter');
      await tab.waitForFunction(shows, { polling: 'raf', timeout: 60000 }, 'k.m = 32.', 'Eingabe i (max 32)');
      search.push(await tab.evaluate(() => performance.now()) - typed);
      if (tab.errors.length > 0) throw new Error(tab.errors.join('\n'));
      await tab.close();
    }
  } finally {
    await browser.close();
  }
  return { start, search };
}

function sessionMs(command, args) {
  const keys = fs.openSync(path.join(root, 'bench', 'session.keys'), 'r');
  const began = process.hrtime.bigint();
  const run = spawnSync(command, args, { stdio: [keys, 'ignore', 'inherit'] });
  const ms = Number(process.hrtime.bigint() - began) / 1e6;
  fs.closeSync(keys);
  if (run.status !== 0) throw new Error(`${command} ${args.join(' ')}: status ${run.status}`);
  return ms;
}

const server = await serve(site);
const page = await pageFigures(server.url);
server.close();
const node = [];
const native = [];
for (let run = 0; run < runs; ++run) {
  node.push(sessionMs(process.execPath, [path.join(root, 'build-web', 'collatzperm-node.js')]));
  native.push(sessionMs(path.join(root, 'build', 'collatzperm'), []));
}
console.log(`site: ${(siteBytes() / 1e6).toFixed(2)} MB (limit 3 MB)`);
console.log(`start table: median ${median(page.start).toFixed(0)} ms, ${range(page.start)} ms over ${runs} loads (limit 1000)`);
console.log(`compressed search of 32 at pause 0: median ${median(page.search).toFixed(0)} ms, ${range(page.search)} ms (limit 2000)`);
console.log(`pipe session under node: median ${median(node).toFixed(0)} ms, ${range(node)} ms`);
console.log(`pipe session native: median ${median(native).toFixed(0)} ms, ${range(native)} ms`);
console.log(`node / native: ${(median(node) / median(native)).toFixed(1)}`);
