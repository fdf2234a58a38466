// The browser build's figures: the size of the site; in headless Chromium, on
// a desktop window and on a phone (390 x 844, touch, its CPU throttled 4x as a
// stand-in for a mid-range phone's), the time to the start table, to the end
// of the compressed search of 32, and how soon the page answers a tap while
// that search's rows stream; and the pipe session of bench/session.keys under
// node against the native program, in turns. After make web and make build:
//   node bench/web_bench.mjs [RUNS] [SITE] [DEVICES]
// SITE, another build's site (build-web/site by default), for a comparison;
// DEVICES, some of desktop, phone and gpu, joined by commas (all by default),
// and then no pipe session.
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

import { launch, openTab, root, serve, sleep } from '../tests/web/page_driver.mjs';

const runs = Number(process.argv[2] ?? 5);
const site = path.resolve(process.argv[3] ?? path.join(root, 'build-web', 'site'));
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const range = (values) => `${Math.min(...values).toFixed(0)} - ${Math.max(...values).toFixed(0)}`;
const kPhone = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
const kDevices = [
  { key: 'desktop', name: 'desktop', viewport: { width: 1000, height: 640 }, cpu: 1 },
  { key: 'phone', name: 'phone without GPU', viewport: kPhone, cpu: 4 },
  { key: 'gpu', name: 'phone, WebGL in software', viewport: kPhone, cpu: 4, gpu: true },
];
const chosen = process.argv[4]?.split(',');
const devices = kDevices.filter((device) => !chosen || chosen.includes(device.key));

function siteBytes() {
  return fs.readdirSync(site).reduce((sum, name) => sum + fs.statSync(path.join(site, name)).size, 0);
}

// In the page, from the moment its keys go in (or the navigation starts) to
// the frame that shows what is waited for, with the program waiting for keys:
// the time of that frame.
function shows(...texts) {
  if (!window.collatzperm?.waiting()) return false;
  const { terminal } = window.collatzperm;
  const buffer = terminal.buffer.active;
  let screen = '';
  for (let y = buffer.viewportY; y < buffer.viewportY + terminal.rows; ++y) screen += buffer.getLine(y).translateToString(true);
  return texts.every((text) => screen.includes(text)) && performance.now();
}

async function whenShown(tab, ...texts) {
  const shown = await tab.waitForFunction(shows, { polling: 'raf', timeout: 60000 }, ...texts);
  return shown.jsonValue();
}

// From the page's start: the frame that first shows the start table, checked
// in every frame by the page itself, not when the driver gets round to it;
// and each tap's answer: from the moment the page got it to the start of the
// next frame after its handler ran, the earliest a change could be drawn.
function watchPage(isShown) {
  const check = () => {
    window.startShown = isShown('Bitte EMTER');
    if (!window.startShown) requestAnimationFrame(check);
  };
  requestAnimationFrame(check);
  window.answers = [];
  addEventListener('pointerdown', (event) => {
    const arrived = event.timeStamp;
    requestAnimationFrame(() => window.answers.push(performance.now() - arrived));
  }, { capture: true });
}

async function pageFigures(url, device) {
  const browser = await launch({ gpu: device.gpu });
  const figures = { start: [], search: [], answer: [] };
  try {
    for (let run = 0; run < runs; ++run) {
      const tab = await openTab(browser, device.viewport);
      const cdp = await tab.createCDPSession();
      await cdp.send('Emulation.setCPUThrottlingRate', { rate: device.cpu });
      await tab.evaluateOnNewDocument(`(${watchPage})(${shows})`);
      await tab.goto(url, { waitUntil: 'domcontentloaded' });
      figures.start.push(await (await tab.waitForFunction(() => window.startShown, { timeout: 60000 })).jsonValue());
      await tab.focus('.xterm-helper-textarea');
      await tab.keyboard.press('Enter');
      await whenShown(tab, 'Eingabe i (max 32)');
      await tab.keyboard.type('K');
      await tab.keyboard.press('Enter');
      await whenShown(tab, 'k.m = 17.', 'Eingabe i (max 32)');
      await tab.keyboard.type('32');
      const typed = await tab.evaluate(() => performance.now());
      await tab.keyboard.press('Enter');
      // Taps on the top of the terminal, 10 a second, while the rows come,
      // by turns at two places far apart: at one place they would be double
      // and triple clicks that select words and lines.
      const done = whenShown(tab, 'k.m = 32.', 'Eingabe i (max 32)');
      let streaming = true;
      done.then(() => { streaming = false; }, () => { streaming = false; });
      await sleep(100);
      for (let tap = 0; streaming; ++tap) {
        const x = tap % 2 === 0 ? 60 : 300;
        await (device.cpu > 1 ? tab.touchscreen.tap(x, 5) : tab.mouse.click(x, 5));
        await sleep(100);
      }
      figures.search.push(await done - typed);
      // The last tap may have come after the search.
      figures.answer.push(...(await tab.evaluate(() => window.answers)).slice(0, -1));
      if (tab.errors.length > 0) throw new Error(tab.errors.join('\n'));
      await tab.close();
    }
  } finally {
    await browser.close();
  }
  return figures;
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
console.log(`site: ${(siteBytes() / 1e6).toFixed(2)} MB (limit 3 MB)`);
for (const device of devices) {
  const page = await pageFigures(server.url, device);
  const label = `${device.name}, CPU ${device.cpu}x`;
  console.log(`${label}: start table: median ${median(page.start).toFixed(0)} ms, ${range(page.start)} ms over ${runs} loads (limit 1000)`);
  console.log(`${label}: compressed search of 32 at pause 0: median ${median(page.search).toFixed(0)} ms, ${range(page.search)} ms (limit 2000)`);
  console.log(`${label}: answer to a tap during it: median ${median(page.answer).toFixed(0)} ms, ${range(page.answer)} ms over ${page.answer.length} taps (limit 50)`);
}
server.close();
if (chosen) process.exit(0);
const node = [];
const native = [];
for (let run = 0; run < runs; ++run) {
  node.push(sessionMs(process.execPath, [path.join(root, 'build-web', 'collatzperm-node.js')]));
  native.push(sessionMs(path.join(root, 'build', 'collatzperm'), []));
}
console.log(`pipe session under node: median ${median(node).toFixed(0)} ms, ${range(node)} ms`);
console.log(`pipe session native: median ${median(native).toFixed(0)} ms, ${range(native)} ms`);
console.log(`node / native: ${(median(node) / median(native)).toFixed(1)}`);
