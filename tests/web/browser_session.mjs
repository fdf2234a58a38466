// One session in the page as a person types it, in headless Chromium, checked
// against the native program drawing for the same keys on a pseudo-terminal
// of the same size (its output read by xterm.js's headless build): every line
// with its colours, and the rows the page's DOM shows. Along the way a second
// tab takes the bad input: keys while it loads, a 20-column window, a 10,000
// character paste, resizes during a search, a reload in the middle of one, a
// click on A+ before keys, a search resized between any two of its writes,
// and an abort. axe-core checks the page with the screen reader mode off and
// on, and with Help open; the mode, once on, stays on for the rest, the
// second tab's reloads too. In the middle the page switches to English, whose
// screens are the native program's with --language=en, and back.
//   node browser_session.mjs build-web/site build/collatzperm
import { spawn, spawnSync } from 'node:child_process';
import assert from 'node:assert/strict';

import {
  accessibilityFaults, domRows, launch, loadedAnewAfter, nativeLines, openTab, pageLines, requireWeb,
  resizeOnEveryWrite, serve, sleep, terminalLines, until, untilSpoken,
} from './page_driver.mjs';

const [site, nativeProgram] = process.argv.slice(2);
const kPrompt = 'Eingabe i (max 32)';
const kGerman = { start: 'Bitte EMTER', prompt: kPrompt };
const kEnglish = { start: 'Please press ENTER', prompt: 'Exponent i (max 32)' };
const kRunPrompt = 'Eingabe hier:';
const kEnded = 'collatzperm has ended. Reload the page to start it again.';
const kError = 'collatzperm stopped on an error. Reload the page to start it again.';
const kRow = /^\s+[ik]\.m = 32\./;

const plain = (line) => line.replace(/\x1b\[[^\]]*\]/g, '');
const count = (lines, text) => lines.filter((line) => plain(line).includes(text)).length;
// Search and listing times differ from run to run.
const withoutTimes = (line) => line.replace(/-?[0-9.E+-]+ (sek|Sek\.|sec)/g, 'T $1');

// The native program on a pseudo-terminal of the page's size (script(1) makes it).
class NativeSession {
  constructor(cols, rows, args = '') {
    const { Terminal } = requireWeb('@xterm/headless');
    this.terminal = new Terminal({ cols, rows, scrollback: 16000, allowProposedApi: true });
    const env = { ...process.env, TERM: 'xterm-256color' };
    delete env.NO_COLOR;
    this.process = spawn('script', ['-qfec', `stty cols ${cols} rows ${rows}; exec '${nativeProgram}' ${args}`, '/dev/null'],
      { stdio: ['pipe', 'pipe', 'inherit'], env });
    this.lastOutput = Date.now();
    this.process.stdout.on('data', (data) => {
      this.terminal.write(data);
      this.lastOutput = Date.now();
    });
    this.exited = new Promise((resolve) => this.process.on('exit', resolve));
  }

  // A string goes in one write; the keys of a list one by one, slower than
  // the Esc timeout, as a person presses them.
  async type(keys) {
    if (typeof keys === 'string') {
      this.process.stdin.write(keys.replaceAll('\n', '\r'));
      return;
    }
    for (const [, bytes] of keys) {
      this.process.stdin.write(bytes);
      await sleep(150);
    }
  }

  async lines(viewportOnly = false) {
    await new Promise((resolve) => this.terminal.write('', resolve));
    return terminalLines(this.terminal, viewportOnly);
  }

  // Quiet for a while, and the screen shows what is asked.
  async settle(check) {
    return until('the native screen', async () => Date.now() - this.lastOutput > 300 && check(await this.lines()));
  }
}

class PageSession {
  constructor(page) { this.page = page; }

  // The keys go out together, as from quick fingers: the page takes them in
  // before the program has its next turn.
  async type(keys) {
    if (typeof keys === 'string') {
      await Promise.all([...keys].map((key) => this.page.keyboard.press(key === '\n' ? 'Enter' : key)));
      return;
    }
    for (const [key] of keys) {
      if (key.length === 1) await this.page.keyboard.sendCharacter(key);
      else await this.page.keyboard.press(key);
    }
  }

  lines(viewportOnly = false) { return pageLines(this.page, viewportOnly); }

  async settle(check) {
    return until('the page', async () => (await this.page.evaluate(() => window.collatzperm.waiting()))
      && check(await this.lines()));
  }
}

const prompts = (n, prompt = kPrompt) => (lines) => count(lines, prompt) >= n;
const searchRows = (n) => (lines) => lines.filter((line) => kRow.test(plain(line))).length >= n;
// The session: keys, then what the screen shows once they have done their work.
// The first five, in either language:
const firstSteps = ({ start, prompt }) => [
  ['', (lines) => count(lines, start) === 1],
  ['\n', prompts(1, prompt)],
  ['8\n', prompts(2, prompt)],
  ['G\n', prompts(3, prompt)],
  // 007, with an umlaut taken back and keys that a line does not take.
  [[['0', '0'], ['\u00e4', '\u00e4'], ['ArrowLeft', '\x1b[D'], ['F1', '\x1bOP'], ['Escape', '\x1b'],
    ['Backspace', '\x7f'], ['0', '0'], ['7', '7'], ['Enter', '\r']], prompts(4, prompt)],
];
// "32", Enter and "9" go in one burst: the search of 32 takes the pause 9.
const kSteps = [
  ...firstSteps(kGerman),
  ['K\n', prompts(5)],
  ['32\n9', searchRows(3)],
  [' ', (lines) => count(lines, kRunPrompt) === 1 && plain(lines.at(-2)).includes('Pausen gewaehlt: 9')],
  ['x\n', prompts(6)],
  ['Q\n', prompts(6)],
];

async function runSteps(session, steps) {
  for (const [keys, shows] of steps) {
    await session.type(keys);
    if (keys === ' ' || keys === '32\n9') {
      await until('the search of 32', async () => shows(await session.lines()));
    } else {
      await session.settle(shows);
    }
  }
}

// Lines equal, but for the rows of the search stopped by Space: of those,
// as many as both have.
function compareSessions(pageLinesSeen, nativeLinesSeen) {
  const split = (lines) => {
    const first = lines.findIndex((line) => kRow.test(plain(line)));
    let end = first;
    while (end < lines.length && kRow.test(plain(lines[end]))) ++end;
    return { before: lines.slice(0, first), rows: lines.slice(first, end), after: lines.slice(end) };
  };
  const a = split(pageLinesSeen.map(withoutTimes));
  const b = split(nativeLinesSeen.map(withoutTimes));
  assert.ok(a.rows.length >= 3 && b.rows.length >= 3, 'the search of 32 shows its rows');
  assert.deepEqual(a.before, b.before, 'the screen up to the search of 32');
  const shared = Math.min(a.rows.length, b.rows.length);
  assert.deepEqual(a.rows.slice(0, shared), b.rows.slice(0, shared), 'the rows of the search of 32');
  // The result line counts the rows, and it is written over the run-time
  // prompt, whose end stays visible beyond it.
  const result = (lines) => plain(lines[0]).replace(/\d+ Dif\.= [0-9.]+ %   T sek.*/, 'N Dif.= P %   T sek');
  assert.equal(result(a.after), result(b.after), 'the result line of the stopped search');
  assert.deepEqual(a.after.slice(1), b.after.slice(1), 'the screen after the stopped search');
  return [a.rows.length, b.rows.length];
}

// The second tab, with what a person should not do to it.
async function badInput(browser, url) {
  const tab = await openTab(browser, { width: 220, height: 500 });
  const page = new PageSession(tab);
  await tab.goto(url, { waitUntil: 'domcontentloaded' });
  // Keys while it loads wait (or are lost): either way the start table goes
  // on or waits for another Enter.
  await tab.keyboard.press('Enter').catch(() => {});
  await page.settle(() => true);
  const cols = await tab.evaluate(() => window.collatzperm.terminal.cols);
  assert.ok(cols <= 22, `a narrow window, ${cols} columns`);
  if (count(await page.lines(), kPrompt) === 0) await page.type('\n');
  await page.settle(prompts(1));

  // A paste of 10,500 characters: the line stops at 10,000, as at a terminal.
  await tab.evaluate(() => window.collatzperm.terminal.paste('y'.repeat(10500)));
  await page.settle(() => true);
  const echoed = (await page.lines()).map(plain).join('').split('y').length - 1;
  assert.equal(echoed, 10000, 'the pasted line is cut at 10,000 characters');
  await tab.setViewport({ width: 600, height: 500 });
  await page.type('\n');
  await page.settle(prompts(2));

  // A narrower window at the prompt: what is typed next still lands after it.
  await tab.setViewport({ width: 220, height: 500 });
  await sleep(300);
  await page.type('32\n9');
  await until('the line typed after a resize', async () => (await page.lines())
    .some((line) => plain(line).endsWith(`${kPrompt} 32`)));

  // Resizes during a search, a run-time prompt at 20 columns, and a reload
  // in the middle of the search.
  await sleep(300);
  for (const width of [600, 220]) {
    await tab.setViewport({ width, height: 500 });
    await sleep(300);
  }
  await page.type(' ');
  await until('the run-time prompt', async () => count(await page.lines(), kRunPrompt) === 1);
  await page.type('\n');
  await sleep(300);
  await tab.reload({ waitUntil: 'load' });
  await until('a fresh program', async () => {
    const lines = await page.lines();
    return count(lines, 'Bitte EMTER') === 1 && count(lines, kPrompt) === 0;
  });
  assert.ok(await tab.evaluate(() => window.collatzperm.terminal.options.screenReaderMode),
    'the screen reader mode after a reload');

  // A click on A+ leaves the keys going to the program: the search of 20 runs.
  await page.type('\n');
  await page.settle(prompts(1));
  const larger = await (await tab.$('#larger')).boundingBox();
  await tab.mouse.click(larger.x + larger.width / 2, larger.y + larger.height / 2);
  await page.type('20\n');
  await page.settle(prompts(2));
  const rowsOf = (lines, exponent) => lines.map(plain).filter((line) => line.includes(`i.m = ${exponent}.`));
  assert.equal(rowsOf(await page.lines(), 20).length, nativeLines(nativeProgram, '\n20\n', 'i.m = 20.').length,
    'the search of 20 typed after a click on A+');
  // The search of 32 with a change of the text size between any two of
  // its writes: every row arrives whole.
  const resized = await resizeOnEveryWrite(tab);
  await page.type('32\n');
  await page.settle(prompts(3));
  const resizes = await resized();
  assert.deepEqual(rowsOf(await page.lines(), 32), nativeLines(nativeProgram, '\n32\n', 'i.m = 32.'),
    `every row of the search of 32, whole, through ${resizes} changes of the text size`);
  assert.deepEqual(tab.errors, [], 'the second tab reports no error');

  // A trap in the program (a call through a table entry that is not there)
  // and an abort (the .wasm cannot be loaded) each end it with a line in the
  // page, not a terminal that just stops.
  await tab.evaluateOnNewDocument(() => {
    let create;
    Object.defineProperty(window, 'createCollatzperm', {
      get: () => (options) => create(options).then((module) => { window.program = module; return module; }),
      set: (value) => { create = value; },
    });
  });
  await tab.reload({ waitUntil: 'load' });
  await until('the program', () => tab.evaluate(() => window.program !== undefined));
  await tab.evaluate(() => { setTimeout(() => window.program.dynCall_vi(1e6, 0)); });
  await until('the error line after a trap', async () => count(await page.lines(), kError) === 1);
  // Past the service worker, which has the .wasm in its cache.
  await tab.setBypassServiceWorker(true);
  await tab.setRequestInterception(true);
  tab.on('request', (request) => (request.url().endsWith('.wasm') ? request.abort() : request.continue()));
  await tab.reload({ waitUntil: 'load' });
  await until('the error line after an abort', async () => count(await page.lines(), kError) === 1);
  await tab.close();
}

// The picture beside the terminal of a wide window: the tree's leaves are the
// rows' start numbers, a run's path its values, a leaf chosen runs, axe-core
// finds nothing, and after a reload the open picture shows the first search.
async function pictures(browser, url) {
  const tab = await openTab(browser, { width: 1400, height: 640 });
  const page = new PageSession(tab);
  await tab.goto(url, { waitUntil: 'load' });
  await page.settle(() => true);
  await tab.click('#picture-button');
  const picture = () => tab.evaluate(() => window.collatzperm.pictures.viewer()?.state());
  const shows = (what, check) => until(what, async () => check(await picture() ?? {}));
  const startsOf = (lines, exponent) => lines.map(plain)
    .map((line) => line.match(new RegExp(`^\\s+i\\.m =\\s*${exponent}\\.\\d+\\s+_*(\\d+) `))?.[1]).filter(Boolean);
  const rowsShown = async (exponent) => startsOf(await page.lines(), exponent);
  await page.type('\n');
  await page.settle(prompts(1));
  await shows('the tree of 17', (state) => state.leaves?.length === 36);
  assert.deepEqual((await picture()).leaves, await rowsShown(17), 'the leaves of 17 are its rows');
  assert.ok(await tab.evaluate(() => document.body.classList.contains('picture-beside')
    && window.collatzperm.terminal.cols >= 80), 'beside a terminal of 80 columns or more');
  // One command at a time: keys typed ahead during a search are its keys.
  for (const [keys, prompt] of [['M\n', 2], ['20\n', 3]]) {
    await page.type(keys);
    await page.settle(prompts(prompt));
  }
  await shows('the tree of 20 in 3n-1', (state) => state.leaves?.length === 65);
  assert.deepEqual((await picture()).leaves, await rowsShown(20), 'the leaves of 20 in 3n-1 are its rows');
  const command = (...words) => spawnSync(nativeProgram, [...words, '--format=csv'], { encoding: 'utf8' }).stdout;
  assert.equal((await picture()).csv, command('search', '20', '--variant=3n-1'), 'the CSV of collatzperm search');
  assert.deepEqual(await accessibilityFaults(tab), [], 'axe-core with the tree open');
  // A wheel and a drag that overlap move the tree as an image, until the last
  // of them has ended; then it is drawn again.
  const box = await (await tab.$('#picture canvas')).boundingBox();
  const [x, y] = [box.x + box.width / 2, box.y + box.height / 2];
  const moving = () => tab.evaluate(() => [...document.querySelectorAll('#picture .picture-stage > div')]
    .some((element) => !element.hidden));
  await tab.mouse.move(x, y);
  await tab.mouse.wheel({ deltaY: -240 });
  await tab.mouse.down();
  await tab.mouse.move(x, y + 40, { steps: 4 });
  await until('the tree moved as an image', moving);
  await sleep(400);
  assert.ok(await moving(), 'still an image while the drag goes on after the wheel');
  await tab.mouse.up();
  await until('the tree drawn again once both ended', async () => !(await moving()));
  assert.ok(await tab.evaluate(() => document.activeElement.classList.contains('xterm-helper-textarea')),
    'the keys still go to the terminal');
  for (const [keys, prompt] of [['M\n', 4], ['0027\n', 5]]) {
    await page.type(keys);
    await page.settle(prompts(prompt));
  }
  await shows('the path of 27', (state) => state.values?.[0]?.[0] === '27');
  const run = plain((await page.lines()).find((line) => plain(line).startsWith(' *00  3n +-1  = 27')));
  const printed = [];
  for (const line of (await page.lines()).map(plain).slice((await page.lines()).map(plain).indexOf(run))) {
    if (line.includes('Ca =')) break;
    printed.push(...line.replace(/^ \*00  3n \+-1  =/, '').trim().split(/\s+/));
  }
  assert.deepEqual((await picture()).values[0], printed, 'the path of 27 is the values printed');
  assert.equal((await picture()).csv, command('sequence', '27'), 'the CSV of collatzperm sequence');
  // The mouse along the path, left to right: later steps, each with the value
  // printed at it and the focus ring (its cyan pixels) around the step under
  // the mouse, less than a step's width away; the last step at the right end.
  const plot = await (await tab.$('#picture canvas')).boundingBox();
  const ringAcross = () => tab.evaluate(async () => {
    await new Promise(requestAnimationFrame);
    const canvas = document.querySelector('#picture canvas');
    const { data, width } = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
    let sum = 0;
    let count = 0;
    for (let p = 0; p < data.length; p += 4) {
      if (data[p] === 0x61 && data[p + 1] === 0xd6 && data[p + 2] === 0xd6) {
        sum += (p / 4) % width;
        ++count;
      }
    }
    return sum / count / (canvas.width / canvas.getBoundingClientRect().width);
  });
  let before = -1;
  for (const x of [0.2, 0.4, 0.6, 0.8].map((f) => plot.x + f * plot.width).concat(plot.x + plot.width - 14)) {
    await tab.mouse.move(x, plot.y + plot.height / 2);
    const [number, step] = (await until('a value pointed at', () => tab.evaluate(() => {
      const shown = document.querySelector('#picture .picture-info span').textContent;
      return shown.match(/^(\d+): step (\d+),/)?.slice(1);
    })));
    assert.ok(Number(step) > before && number === printed[step], `step ${step} (${number}) under the mouse at ${x}`);
    assert.ok(Math.abs(plot.x + await ringAcross() - x) < 4, `the focus ring at the mouse at ${x}`);
    before = Number(step);
  }
  assert.equal(before, printed.length - 1, 'the last step at the right end');
  await tab.click('#picture .picture-bar button[aria-label="Linear scale"]');
  assert.deepEqual(await accessibilityFaults(tab), [], 'axe-core with a path open');
  // A leaf chosen with the keyboard: End, the last row, and Enter.
  await page.type('8\n');
  await page.settle(prompts(6));
  await shows('the tree of 8', (state) => state.leaves?.join() === '256,42,40,6');
  await tab.focus('#picture .picture-stage');
  await tab.keyboard.press('End');
  await tab.keyboard.press('Enter');
  await page.settle(prompts(7));
  await shows('the path of 6', (state) => state.values?.[0]?.join(' ') === '6 3 10 5 16 8 4 2 1');
  assert.ok((await page.lines()).some((line) => plain(line).endsWith('Eingabe i (max 32) 006')), 'typed at the prompt');
  // A search while the picture is closed is the one it shows when opened.
  await tab.click('#picture-button');
  await tab.focus('.xterm-helper-textarea');
  await page.type('9\n');
  await page.settle(prompts(8));
  const rowsOf9 = (await rowsShown(9)).join();
  assert.ok(rowsOf9.length > 0, 'the rows of 9 shown');
  await tab.click('#picture-button');
  await shows('the tree of 9, searched while closed', (state) => state.leaves?.join() === rowsOf9);
  // Open after a reload, with the new session's first search.
  await tab.reload({ waitUntil: 'load' });
  await page.settle(() => true);
  await page.type('\n');
  await page.settle(prompts(1));
  await shows('the tree of 17 after a reload', (state) => state.leaves?.length === 36);
  assert.deepEqual(tab.errors, [], 'the picture tab reports no error');
  await tab.close();
}

async function withAltShift(tab, key) {
  await tab.keyboard.down('Alt');
  await tab.keyboard.down('Shift');
  await tab.keyboard.press(key);
  await tab.keyboard.up('Shift');
  await tab.keyboard.up('Alt');
}

// The heading of the help that `open` opens.
async function helpHeading(tab, open) {
  await open();
  return until('the help', () => tab.evaluate(() => document.querySelector('#help-dialog[open] h2')?.textContent));
}

// Help shut, and the terminal has the keys again: the dialog's close event,
// which gives them back, comes a task after the dialog shuts.
const helpShut = (tab, what) => until(what, () => tab.evaluate(() => !document.getElementById('help-dialog').open
  && document.activeElement === window.collatzperm.terminal.textarea), 5000);

// A click on the language button starts the program again in the other
// language, with the session's keys typed again; `prompt` is the new
// language's.
async function switchLanguage(tab, page, { prompt }) {
  await loadedAnewAfter(tab, () => tab.click('#language'));
  await page.settle(prompts(4, prompt));
}

// Help, by keyboard, in German and in English; the session in
// English, as the native program shows it, and kept after a reload; then
// back to German, with the same screens as before.
async function helpAndLanguage(tab, page, size, url) {
  await tab.focus('#help');
  assert.equal(await helpHeading(tab, () => tab.keyboard.press('Enter')), 'Hilfe');
  assert.deepEqual(await accessibilityFaults(tab), [], 'axe-core with Help open');
  await tab.keyboard.press('Escape');
  await helpShut(tab, 'Esc closes Help, and the keys go to the program');

  await switchLanguage(tab, page, kEnglish);
  const english = new NativeSession(...size, '--language=en');
  try {
    await runSteps(english, firstSteps(kEnglish));
    assert.deepEqual((await page.lines()).map(withoutTimes), (await english.lines()).map(withoutTimes),
      'the session in English');
    await english.type('Q\ne');
    assert.equal(await english.exited, 0);
  } finally {
    english.process.kill();
  }
  await tab.reload({ waitUntil: 'load' });
  await page.settle(prompts(4, kEnglish.prompt));
  assert.deepEqual(await tab.evaluate(() => ['terminal', 'spoken', 'language']
    .map((id) => document.getElementById(id).lang)), ['en', 'en', 'de'], 'English after a reload');
  // Its shortcut, from the terminal.
  assert.equal(await helpHeading(tab, () => withAltShift(tab, 'KeyH')), 'Help');
  await tab.click('#help-dialog .help-close button');
  await helpShut(tab, 'Close closes Help, and the keys go to the program');
  await switchLanguage(tab, page, kGerman);

  // The full guide, in the site.
  const guide = await openTab(tab.browser(), { width: 1000, height: 640 });
  await guide.goto(`${url}guide.html`, { waitUntil: 'load' });
  assert.match(await guide.$eval('h1', (heading) => heading.textContent), /collatzperm/);
  assert.deepEqual(await accessibilityFaults(guide), [], 'axe-core on the guide');
  await guide.close();
  await tab.bringToFront();
}

const server = await serve(site);
const browser = await launch();
let native = null;
try {
  const tab = await openTab(browser, { width: 1000, height: 640 });
  await tab.goto(server.url, { waitUntil: 'load' });
  const page = new PageSession(tab);
  const size = await tab.evaluate(() => [window.collatzperm.terminal.cols, window.collatzperm.terminal.rows]);
  native = new NativeSession(...size);

  await runSteps(page, kSteps.slice(0, 5));
  await runSteps(native, kSteps.slice(0, 5));
  // What the page shows is what the Unix terminal shows, colours included.
  await sleep(200);
  assert.deepEqual((await domRows(tab)).map(withoutTimes), (await native.lines(true)).map(withoutTimes),
    'the rows the page shows after "007"');
  // A double click selects and shows it, a click takes it away again.
  const selected = () => tab.$eval('.xterm-selection', (layer) => layer.childElementCount > 0);
  await tab.mouse.click(40, 300, { count: 2 });
  await until('the selection drawn', selected);
  await tab.mouse.click(40, 300);
  await until('the selection gone', async () => !await selected());
  assert.deepEqual(await accessibilityFaults(tab), [], 'axe-core with the screen reader mode off');
  // Its shortcut works from the terminal and types nothing into the program.
  await withAltShift(tab, 'KeyR');
  assert.equal(await tab.$eval('#reader', (button) => button.getAttribute('aria-pressed')), 'true');
  await until('the rows in the accessibility tree', () => tab.evaluate(() => document
    .querySelector('.xterm-accessibility-tree')?.textContent.includes('Eingabe i')));
  assert.deepEqual(await accessibilityFaults(tab), [], 'axe-core with the screen reader mode on');

  await helpAndLanguage(tab, page, size, server.url);
  await badInput(browser, server.url);
  await pictures(browser, server.url);
  await tab.bringToFront();

  // The search stopped at the run-time prompt after its first rows: those
  // and the prompt are read.
  await runSteps(page, kSteps.slice(5, 8));
  await untilSpoken(tab, (text) => text.includes('k.m = 32.0')
    && text.endsWith(`${kRunPrompt} Jede Taste + ENTER oder weiter mit leerem ENTER`));
  await runSteps(page, kSteps.slice(8));
  await runSteps(native, kSteps.slice(5));
  await page.type('e');
  await native.type('e');
  await until('the end in the page', () => tab.evaluate(() => window.collatzperm.ended()));
  assert.equal(await native.exited, 0);
  await page.type('8\n');  // starts nothing
  await sleep(300);

  const seen = await page.lines();
  while (plain(seen.at(-1)) === '') seen.pop();
  assert.equal(plain(seen.pop()), kEnded, 'the page says the program has ended');
  const nativeSeen = await native.lines();
  while (nativeSeen.length > 0 && plain(nativeSeen.at(-1)) === '') nativeSeen.pop();
  const [pageRows, nativeRows] = compareSessions(seen, nativeSeen);
  assert.deepEqual(tab.errors, [], 'no errors in the browser console');
  console.log(`The page session (${size[0]} x ${size[1]}) matches the native program`
    + ` (stopped after ${pageRows} and ${nativeRows} rows of 32).`);
} finally {
  native?.process.kill();
  await browser.close();
  server.close();
}
