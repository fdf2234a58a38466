// The site in headless Chromium, and the screen read back as lines with their
// colours: shared by the browser test, the web benchmark and the screenshots.
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import { createRequire } from 'node:module';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

export const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
// The pinned packages of web/ (npm ci there).
export const requireWeb = createRequire(path.join(root, 'web', 'package.json'));

const kTypes = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.svg': 'image/svg+xml', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

// A static server for the site on 127.0.0.1, on a free port.
export async function serve(site) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    const file = path.join(site, name === '/' ? 'index.html' : name);
    fs.readFile(file, (error, data) => {
      if (error || !file.startsWith(site)) {
        response.writeHead(404).end();
        return;
      }
      response.writeHead(200, { 'Content-Type': kTypes[path.extname(file)] ?? 'application/octet-stream' });
      response.end(data);
    });
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() };
}

// With `gpu`, WebGL in software stands in for a GPU; without, there is no
// WebGL at all. (Emulating a phone's pixel ratio, Chromium's WebGL canvas
// gets the size of one at ratio 1: such a tab draws wrong, its buffer is right.)
export function launch({ gpu = false } = {}) {
  return requireWeb('puppeteer-core').launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    // Chromium's sandbox refuses to run as root.
    args: ['--no-sandbox',
      ...(gpu ? ['--use-angle=swiftshader', '--enable-unsafe-swiftshader'] : ['--disable-gpu', '--disable-3d-apis'])],
  });
}

// A tab of its own; what it logs as an error or throws is collected in page.errors.
export async function openTab(browser, viewport) {
  const page = await browser.newPage();
  page.errors = [];
  page.on('console', (message) => {
    if (message.type() === 'error') page.errors.push(message.text());
  });
  page.on('pageerror', (error) => page.errors.push(String(error)));
  await page.setViewport(viewport);
  return page;
}

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

export async function until(what, check, limitMs = 60000) {
  const end = Date.now() + limitMs;
  for (;;) {
    const result = await check();
    if (result) return result;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await sleep(50);
  }
}

// Waits until the page has loaded anew after `press` (the language button
// starts the program again so) and the program waits or has ended.
export async function loadedAnewAfter(page, press) {
  await page.evaluate(() => { window.beforeLoad = true; });
  await press();
  await until('the page loaded anew', () => page.evaluate(() => !window.beforeLoad
    && (window.collatzperm?.waiting() || window.collatzperm?.ended())).catch(() => false));
}

// Waits until what the page's live region says passes `check`.
export async function untilSpoken(page, check) {
  let text = '';
  await until('the announcement', async () => {
    text = await page.$eval('#spoken', (region) => region.innerText);
    return check(text);
  }, 5000).catch((error) => { throw new Error(`${error.message}; it says "${text}"`); });
}

// A row of cells [character, foreground, background] as text, with a marker
// "\x1b[fg/bg]" where the colours change. Blanks on black at the end are no
// text, and a blank's foreground shows nothing. Self-contained: it also runs
// inside the page.
export function cellsText(cells) {
  while (cells.length > 0 && cells.at(-1)[0] === ' ' && cells.at(-1)[2] === 0) cells.pop();
  let text = '';
  let fg = 'd';
  let bg = 0;
  for (const [ch, cellFg, cellBg] of cells) {
    const newFg = ch === ' ' ? fg : cellFg;
    if (newFg !== fg || cellBg !== bg) text += `\x1b[${newFg}/${cellBg}]`;
    fg = newFg;
    bg = cellBg;
    text += ch;
  }
  return text;
}

// The lines of an xterm.js terminal (in the page or headless), in the form of
// cellsText; wrapped lines are joined unless only the viewport is asked for.
export function terminalLines(terminal, viewportOnly = false, toText = cellsText) {
  const buffer = terminal.buffer.active;
  const first = viewportOnly ? buffer.viewportY : 0;
  const last = viewportOnly ? buffer.viewportY + terminal.rows : buffer.length;
  const cell = buffer.getNullCell();
  const lines = [];
  for (let y = first; y < last; ++y) {
    const line = buffer.getLine(y);
    if (!line.isWrapped || lines.length === 0 || viewportOnly) lines.push([]);
    const cells = lines.at(-1);
    for (let x = 0; x < line.length; ++x) {
      line.getCell(x, cell);
      if (cell.getWidth() === 0) continue;
      cells.push([cell.getChars() || ' ', cell.isFgDefault() ? 'd' : cell.getFgColor(),
        cell.isBgDefault() ? 0 : cell.getBgColor()]);
    }
  }
  return lines.map(toText);
}

function domRowsInPage(toText) {
  return [...document.querySelectorAll('.xterm-rows > div')].map((row) => {
    const cells = [];
    for (const node of row.childNodes) {
      const classes = node.classList ? [...node.classList] : [];
      const colour = (prefix, fallback) => {
        const found = classes.find((name) => name.startsWith(prefix));
        return found ? Number(found.slice(prefix.length)) : fallback;
      };
      for (const ch of node.textContent.replace(/\u00a0/g, ' ')) {
        cells.push([ch, colour('xterm-fg-', 'd'), colour('xterm-bg-', 0)]);
      }
    }
    return toText(cells);
  });
}

// The rows the page shows, read from xterm.js's DOM renderer and its colour classes.
export function domRows(page) {
  return page.evaluate(`(${domRowsInPage})(${cellsText})`);
}

// The lines of the page's terminal.
export function pageLines(page, viewportOnly = false) {
  return page.evaluate(`(${terminalLines})(window.collatzperm.terminal, ${viewportOnly}, ${cellsText})`);
}

// The lines with `text` that the native program writes in pipe mode for `keys`.
export function nativeLines(program, keys, text, args = []) {
  const run = spawnSync(program, args, { input: keys, encoding: 'utf8' });
  return run.stdout.split('\n').filter((line) => line.includes(text));
}

// From now on, whenever xterm.js has parsed a write while the program runs,
// and the last change of the text size has reached the terminal, A- or A+ is
// clicked, by turns, up to `limit` times: a change of size between any two
// writes, the program's or pieces of one. The function returned stops it,
// with the text size as it was, and gives the count of changes.
export async function resizeOnEveryWrite(page, limit = Infinity) {
  await page.evaluate((most) => {
    const { terminal } = window.collatzperm;
    const { write } = terminal;
    const buttons = [document.getElementById('smaller'), document.getElementById('larger')];
    let clicks = 0;
    let asked = null;  // the columns when the last change was asked for
    terminal.write = (data, parsed) => write.call(terminal, data, () => {
      parsed?.();
      if (data.length === 0 || clicks >= most || terminal.cols === asked || window.collatzperm.waiting()) return;
      asked = terminal.cols;
      buttons[clicks++ % 2].click();
    });
    window.stopResizing = () => {
      terminal.write = write;
      if (clicks % 2 === 1) buttons[1].click();
      return clicks;
    };
  }, limit);
  return () => page.evaluate(() => window.stopResizing());
}

// axe-core's WCAG 2 A and AA rules, and its rule that every part of the page
// sits in a landmark, on the page as it stands; and every text colour of the
// terminal's palette against its background: what fails, as lines to read
// (none when all is well).
export async function accessibilityFaults(page) {
  if (!await page.evaluate(() => 'axe' in window)) await page.addScriptTag({ path: requireWeb.resolve('axe-core') });
  const found = await page.evaluate(async () => {
    const { violations } = await window.axe.run(document,
      { runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa'] }, rules: { region: { enabled: true } } });
    return violations.map((rule) => `${rule.id}: ${rule.nodes.map((node) => node.target.join(' ')).join(', ')}`);
  });
  const luminance = (hex) => {
    const [r, g, b] = [1, 3, 5].map((at) => Number.parseInt(hex.slice(at, at + 2), 16) / 255)
      .map((c) => (c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4));
    return 0.2126 * r + 0.7152 * g + 0.0722 * b;
  };
  // Pages without the terminal (the guide) have no palette.
  const theme = await page.evaluate(() => window.collatzperm?.terminal.options.theme ?? {});
  for (const [name, colour] of Object.entries(theme)) {
    if (name === 'background' || name === 'black') continue;
    const ratio = (luminance(colour) + 0.05) / (luminance(theme.background) + 0.05);
    if (ratio < 4.5) found.push(`palette: ${name} ${colour} has ${ratio.toFixed(2)}:1`);
  }
  return found;
}
