// The browser build's figures: the size of the site; in headless Chromium, on
// a desktop window and on a phone (390 x 844, touch, its CPU throttled 4x as a
// stand-in for a mid-range phone's), the time to the start table, to the end
// of the compressed search of 32, and how soon the page answers a tap while
// that search's rows stream; then, where the site has the picture, from its
// control to that search's tree, the frames a second of zoom and pan, and
// the path of a run of 986 steps; and the pipe session of bench/session.keys
// under node against the native program, in turns. After make web and make build:
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

function siteBytes(folder = site) {
  return fs.readdirSync(folder, { withFileTypes: true }).reduce((sum, entry) => {
    const file = path.join(folder, entry.name);
    return sum + (entry.isDirectory() ? siteBytes(file) : fs.statSync(file).size);
  }, 0);
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

// Frames a second while the tree is zoomed by the wheel and then dragged,
// one step a frame: the rate at which the page then draws.
async function zoomAndPan() {
  const canvas = document.querySelector('#picture canvas');
  const box = canvas.getBoundingClientRect();
  const at = { clientX: box.x + box.width / 2, clientY: box.y + box.height / 2, bubbles: true, view: window };
  const frame = () => new Promise(requestAnimationFrame);
  const kFrames = 60;
  await frame();
  const began = performance.now();
  for (let i = 0; i < kFrames; ++i) {
    canvas.dispatchEvent(new WheelEvent('wheel', { ...at, deltaY: i < kFrames / 4 ? -120 : 0, cancelable: true }));
    if (i === kFrames / 4) canvas.dispatchEvent(new MouseEvent('mousedown', at));
    if (i > kFrames / 4) window.dispatchEvent(new MouseEvent('mousemove', { ...at, clientY: at.clientY + (i % 20) * 8 }));
    await frame();
  }
  window.dispatchEvent(new MouseEvent('mouseup', at));
  return (kFrames * 1000) / (performance.now() - began);
}

// With the compressed search of 32 shown: from the Picture control to its
// tree drawn; zoom and pan; from the end of a run of 986 steps to its path drawn.
async function pictureFigures(tab, device, figures) {
  const button = await tab.$('#picture-button');
  if (!button) return;
  // From the control's click, in the page's own clock.
  await tab.evaluate(() => {
    window.pictureAsked = performance.now();
    document.getElementById('picture-button').click();
  });
  const drawn = await tab.waitForFunction(() => window.collatzperm.pictures.viewer()?.state().leaves?.length === 6682
    && performance.now(), { polling: 'raf', timeout: 60000 });
  figures.tree.push(await drawn.jsonValue() - await tab.evaluate(() => window.pictureAsked));
  figures.zoom.push(await tab.evaluate(zoomAndPan));
  await tab.evaluate(() => {
    const viewer = window.collatzperm.pictures.viewer();
    const { show } = viewer;
    viewer.show = (lines) => {
      const began = performance.now();
      show(lines);
      requestAnimationFrame(() => { window.pathMs = performance.now() - began; });
    };
  });
  await tab.focus('.xterm-helper-textarea');
  await tab.keyboard.type('00670617279');
  await tab.keyboard.press('Enter');
  figures.path.push(await (await tab.waitForFunction(() => window.pathMs, { timeout: 60000 })).jsonValue());
  // Closed again, by the control that shows (on a phone the picture covers
  // the page's own): the next load starts without it.
  const close = await tab.$('.picture-back');
  const shown = close && await close.evaluate((element) => element.getBoundingClientRect().width > 0);
  const control = shown ? close : button;
  await (device.cpu > 1 ? control.tap() : control.click());
}

async function pageFigures(url, device) {
  const browser = await launch({ gpu: device.gpu });
  const figures = { start: [], search: [], answer: [], tree: [], zoom: [], path: [] };
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
      await pictureFigures(tab, device, figures);
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
console.log(`site: ${(siteBytes() / 1e6).toFixed(2)} MB (limit 1.6 MB)`);
for (const device of devices) {
  const page = await pageFigures(server.url, device);
  const label = `${device.name}, CPU ${device.cpu}x`;
  console.log(`${label}: start table: median ${median(page.start).toFixed(0)} ms, ${range(page.start)} ms over ${runs} loads (limit 1000)`);
  console.log(`${label}: compressed search of 32 at pause 0: median ${median(page.search).toFixed(0)} ms, ${range(page.search)} ms (limit 2000)`);
  console.log(`${label}: answer to a tap during it: median ${median(page.answer).toFixed(0)} ms, ${range(page.answer)} ms over ${page.answer.length} taps (limit 50)`);
  const limit = device.cpu > 1 ? [1000, 200] : [300, 300];
  if (page.tree.length === 0) continue;
  console.log(`${label}: the tree of that search from the Picture control: median ${median(page.tree).toFixed(0)} ms, ${range(page.tree)} ms (limit ${limit[0]})`);
  console.log(`${label}: zoom and pan of that tree: median ${median(page.zoom).toFixed(0)} frames a second, ${range(page.zoom)} (at least 30)`);
  console.log(`${label}: the path of a run of 986 steps: median ${median(page.path).toFixed(0)} ms, ${range(page.path)} ms (limit ${limit[1]})`);
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
