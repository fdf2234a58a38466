// The page on a phone, in headless Chromium's touch emulation: the key
// buttons tapped through a search, a listing, a burst of 50 taps, the
// run-time prompt and a stop; the phone turned during a search; a session
// as a link, opened again and compared with the same keys typed; links that
// are broken or too long; and, last, the site installed and reloaded with
// the server gone. The screen reader mode goes on before a reload and is
// switched off and on again during a search; axe-core checks the page with
// it on and off, and with Help open. The language, switched by touch, is kept
// after a reload, and a session too long for a link says so when switched.
//   node phone_session.mjs build-web/site build/collatzperm
import assert from 'node:assert/strict';

import {
  accessibilityFaults, launch, loadedAnewAfter, nativeLines, openTab, pageLines, resizeOnEveryWrite, serve, until,
  untilSpoken,
} from './page_driver.mjs';

const [site, nativeProgram] = process.argv.slice(2);
const kPortrait = { width: 390, height: 844, isMobile: true, hasTouch: true };
const kLandscape = { ...kPortrait, width: 844, height: 390 };
const kKeyNames = [...'1234567890QTXKMZBFDGJAC', 'Esc', 'Space', 'Backspace', 'Enter', 'Keyboard'];
const kReader = 'Screen reader';
const kPrompt = 'Eingabe i (max 32)';
const kEnded = 'collatzperm has ended. Reload the page to start it again.';

const plain = (line) => line.replace(/\x1b\[[^\]]*\]/g, '');
const withoutTimes = (line) => line.replace(/-?[0-9.E+-]+ sek/g, 'T sek').replace(/-?[0-9.E+-]+ Sek\./g, 'T Sek.');

class Phone {
  constructor(tab) { this.tab = tab; }

  static async open(browser, url, waitUntil = 'load') {
    const tab = await openTab(browser, kPortrait);
    await tab.goto(url, { waitUntil });
    return new Phone(tab);
  }

  centres(names) {
    return this.tab.evaluate((wanted) => wanted.map((name) => {
      const button = [...document.querySelectorAll('button')]
        .find((element) => (element.getAttribute('aria-label') ?? element.textContent) === name);
      const box = button.getBoundingClientRect();
      return [box.x + box.width / 2, box.y + box.height / 2];
    }), names);
  }

  // Taps buttons by name, each in the middle, as fast as touches can go in.
  async tap(...names) {
    for (const [x, y] of await this.centres(names)) await this.tab.touchscreen.tap(x, y);
  }

  // Taps sent all at once, each the touch's start and end, as fast as the
  // browser takes them in.
  async burst(...names) {
    this.cdp ??= await this.tab.createCDPSession();
    const sent = [];
    for (const [x, y] of await this.centres(names)) {
      sent.push(this.cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [{ x, y }] }));
      sent.push(this.cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] }));
    }
    await Promise.all(sent);
  }

  // The search of 32 with the pause `digit` from its first row on: a phone's
  // processor (the CPU throttled) keeps the search going until the digit is
  // in, and fingers on Enter and the digit one right after the other.
  async slowSearch(digit) {
    await this.type('32');
    this.cdp ??= await this.tab.createCDPSession();
    await this.cdp.send('Emulation.setCPUThrottlingRate', { rate: 4 });
    const touches = [];
    for (const [x, y] of await this.centres(['Enter', digit])) touches.push(await this.tab.touchscreen.touchStart(x, y));
    for (const touch of touches) await touch.end();
    await this.cdp.send('Emulation.setCPUThrottlingRate', { rate: 1 });
  }

  // Taps the keys of `keys`, one character each ('\n' is Enter).
  async type(keys) {
    await this.tap(...[...keys].map((key) => (key === '\n' ? 'Enter' : key)));
  }

  waiting() { return this.tab.evaluate(() => window.collatzperm.waiting()); }

  // Types each command and waits for the prompt after it.
  async commands(...lines) {
    for (const line of lines) {
      await this.type(line);
      await this.atPrompt();
    }
  }

  // The text on the cursor's line (wrapped or not) before the cursor.
  beforeCursor() {
    return this.tab.evaluate(() => {
      const buffer = window.collatzperm.terminal.buffer.active;
      let y = buffer.baseY + buffer.cursorY;
      let text = buffer.getLine(y).translateToString(false, 0, buffer.cursorX);
      while (buffer.getLine(y).isWrapped) text = buffer.getLine(--y).translateToString(false) + text;
      return text;
    });
  }

  async typedAtPrompt(text = '') {
    let seen = '';
    await until(`the prompt${text && ` and ${text}`}`, async () => {
      seen = await this.beforeCursor();
      return await this.waiting() && seen.endsWith(`${kPrompt} ${text}`);
    }).catch((error) => { throw new Error(`${error.message}; the cursor is after "${seen}"`); });
  }

  atPrompt() { return this.typedAtPrompt(); }

  lines() { return pageLines(this.tab); }

  terminal() {
    return this.tab.evaluate(() => {
      const { terminal } = window.collatzperm;
      return { cols: terminal.cols, fontSize: terminal.options.fontSize };
    });
  }

  // Whether every line with `text` fits on one line of the terminal.
  unwrapped(text) {
    return this.tab.evaluate((wanted) => {
      const buffer = window.collatzperm.terminal.buffer.active;
      for (let y = 0; y + 1 < buffer.length; ++y) {
        if (buffer.getLine(y).translateToString(true).includes(wanted) && buffer.getLine(y + 1).isWrapped) return false;
      }
      return true;
    }, text);
  }

  notice() { return this.tab.$eval('#notice', (notice) => notice.textContent); }

  // A tap on the language button loads the page anew, in that language.
  switchLanguage(name) { return loadedAnewAfter(this.tab, () => this.tap(name)); }

  async showsLast(text) {
    const lines = (await this.lines()).map(plain).filter((line) => line !== '');
    assert.ok(lines.at(-1).includes(text), `the last line "${lines.at(-1)}" shows "${text}"`);
  }

  spoken(check) { return untilSpoken(this.tab, check); }

  readerMode() {
    return this.tab.evaluate(() => [document.getElementById('reader').getAttribute('aria-pressed'),
      window.collatzperm.terminal.options.screenReaderMode]);
  }
}

async function buttonsAndText(phone) {
  const buttons = await phone.tab.$$eval('#keys button', (keys) => keys.map((key) => {
    const box = key.getBoundingClientRect();
    return [key.getAttribute('aria-label') ?? key.textContent, box.width, box.height];
  }));
  assert.deepEqual(buttons.map(([name]) => name), kKeyNames, 'the key buttons and their names');
  for (const [name, width, height] of buttons) assert.ok(width >= 28 && height >= 28, `${name}: ${width} x ${height}`);
  const { cols, fontSize } = await phone.terminal();
  assert.ok(cols >= 63 && fontSize >= 9, `upright: ${cols} columns at ${fontSize} px`);

  // The text size and the screen reader mode, kept across a reload; the
  // soft keyboard on demand.
  await phone.tap('A+ larger text', kReader);
  assert.equal((await phone.terminal()).fontSize, fontSize + 1);
  await phone.tab.reload({ waitUntil: 'load' });
  assert.equal((await phone.terminal()).fontSize, fontSize + 1, 'the text size after a reload');
  assert.deepEqual(await phone.readerMode(), ['true', true], 'the screen reader mode after a reload');
  // Help, opened and closed by touch, and the keys back with the program.
  await phone.tap('Help');
  await until('the help', () => phone.tab.evaluate(() => document.querySelector('#help-dialog[open] h2') !== null));
  assert.deepEqual(await accessibilityFaults(phone.tab), [], 'axe-core with Help open');
  await phone.tap('Schlie\u00dfen');
  assert.deepEqual(await phone.tab.evaluate(() => [document.getElementById('help-dialog').open,
    document.activeElement === window.collatzperm.terminal.textarea]), [false, true], 'Help closed');
  // English, kept after a reload, and German again.
  await phone.switchLanguage('English');
  await phone.tab.reload({ waitUntil: 'load' });
  await until('the program', () => phone.waiting());
  await phone.showsLast('Please press ENTER');
  await phone.switchLanguage('Deutsch');
  await phone.showsLast('Bitte EMTER');
  await phone.tap('A\u2212 smaller text');
  // With the GPU drawing, whose cells are rounded to device pixels, the
  // upright terminal keeps its columns through a change of size and back.
  await until('the GPU', () => phone.tab.evaluate(() => document.querySelector('.xterm-screen canvas') !== null));
  await phone.tap('A+ larger text', 'A\u2212 smaller text');
  assert.equal((await phone.terminal()).cols, cols, 'upright after A+ and A\u2212');
  const field = () => phone.tab.evaluate(() => [document.activeElement === window.collatzperm.terminal.textarea,
    window.collatzperm.terminal.textarea.inputMode]);
  await phone.tap('Keyboard');
  assert.deepEqual(await field(), [true, 'text'], 'the Keyboard button opens the soft keyboard');
  await phone.tap('Keyboard');
  assert.deepEqual(await field(), [false, 'none'], 'and closes it');
}

// The keys of the link that the Link button makes, read from the clipboard.
async function linkOf(phone) {
  await phone.tap('Link');
  await until('the link', async () => (await phone.notice()).startsWith('Link copied'));
  return phone.tab.evaluate(() => navigator.clipboard.readText());
}

async function session(phone) {
  await phone.commands('\n', '20\n');
  assert.ok(await phone.unwrapped('i.m = 20.'), 'the rows of 2^20 on one line');
  await phone.commands('G\n');
  // Fifty taps as fast as they come, all reaching the prompt in order.
  const digits = '1234567890'.repeat(5);
  const began = Date.now();
  await phone.burst(...digits);
  const tapsMs = Date.now() - began;
  await phone.typedAtPrompt(digits);
  await phone.commands('\n', 'K\n');
  // The compressed search of 32, slowed down by the pause 9, back to the
  // pause 0 and at once stopped at its run-time prompt, whose answer is the
  // next command.
  await phone.slowSearch('9');
  await until('rows of 32', async () => (await phone.lines()).some((line) => line.includes('k.m = 32.')));
  await phone.tap('0', 'Space');
  await until('the run-time prompt', async () => plain((await phone.lines()).at(-1)).includes('Eingabe hier:'));
  await phone.commands('X\n');
  return tapsMs;
}

// A turn of the mouse wheel back over the terminal; `check` takes how many
// lines the view is then above the bottom.
async function wheelBack(phone, check) {
  await phone.tab.mouse.move(100, 100);
  await phone.tab.mouse.wheel({ deltaY: -100 });
  await until('the view back from the bottom', () => phone.tab.evaluate(() => {
    const { baseY, viewportY } = window.collatzperm.terminal.buffer.active;
    return baseY - viewportY;
  }).then(check));
}

// Turned during a compressed search of 32 (slowed down by the pause 1
// until then), its text size changed between its first writes: every row
// arrives whole, each on one line, and the prompt and what is typed after it
// land right.
async function turned(phone) {
  const rows = nativeLines(nativeProgram, '\nK\n32\nQ\n\n', 'k.m = 32.');
  const count = async () => (await phone.lines()).filter((line) => line.includes('k.m = 32.')).length;
  // The text screen clears the screen and its scroll-back.
  await phone.commands('T\n');
  const before = await count();
  await wheelBack(phone, (back) => back > 0);
  await phone.slowSearch('1');
  await until('rows of 32', async () => await count() > before);
  await phone.tap(kReader);
  assert.deepEqual(await phone.readerMode(), ['false', false], 'the screen reader mode off during a search');
  await phone.tap(kReader);
  const resized = await resizeOnEveryWrite(phone.tab, 20);
  await phone.tab.setViewport(kLandscape);
  assert.ok(!await phone.waiting(), 'the screen reader mode off and on, and turned, during the search');
  await phone.tap('0');
  await phone.atPrompt();
  const resizes = await resized();
  const lines = (await phone.lines()).map(plain);
  assert.deepEqual(lines.filter((line) => line.includes('k.m = 32.')).slice(before), rows,
    `every row of the search, whole, through ${resizes} changes of the text size`);
  // Of all that, the count of lines, the result line and the prompt are read.
  await phone.spoken((text) => /^\d+ more lines, not read; the last:\n/.test(text) && text.includes(' Dif.= ')
    && text.endsWith(kPrompt));
  // The scroll bar kept up with the rows, after a look back before the search:
  // a turn of the wheel goes a few lines back from the bottom.
  await wheelBack(phone, (back) => back > 0 && back < 40);
  const { cols } = await phone.terminal();
  assert.ok(cols >= 77, `turned: ${cols} columns`);
  assert.ok(await phone.unwrapped('k.m = 32.'), 'the rows of 2^32 on one line');
  await phone.type('17');
  await phone.typedAtPrompt('17');
  assert.ok(await phone.unwrapped(kPrompt), 'the prompt with its exponent on one line');
  await phone.commands('\n');
}

// The picture takes the screen, shows the last search's tree, and survives
// the phone being turned; the Terminal button brings the terminal back.
async function picture(phone) {
  const leaves = () => phone.tab.evaluate(() => window.collatzperm.pictures.viewer()?.state().leaves?.length);
  // The 17 typed after the search of 32 searched 10.
  const rows = (await phone.lines()).filter((line) => line.includes('k.m = 10.')).length;
  await phone.tap('Picture');
  await until('the tree', async () => await leaves() === rows);
  const covers = () => phone.tab.evaluate(() => {
    const box = document.getElementById('picture').getBoundingClientRect();
    const canvas = document.querySelector('#picture canvas').getBoundingClientRect();
    return document.body.classList.contains('picture-screen') && box.width === innerWidth && canvas.width > innerWidth - 10;
  });
  assert.ok(await covers(), 'the picture takes the screen');
  await phone.tab.setViewport(kPortrait);
  await until('the picture turned', async () => await covers() && await leaves() === rows);
  assert.deepEqual(await accessibilityFaults(phone.tab), [], 'axe-core with the picture open');
  await phone.tap('Back to the terminal');
  assert.ok(await phone.tab.evaluate(() => document.getElementById('picture').hidden), 'the terminal again');
}

// A link of the keys typed at the prompts, opened in a new tab, shows what
// the typed keys showed, times aside.
async function linkedSession(browser, url) {
  // Its first tap comes while the page loads: the program takes it when it can.
  const typed = await Phone.open(browser, url, 'domcontentloaded');
  await typed.commands('\n', '12\n', 'G\n', 'M\n', '7\n');
  // The search of 7 in 3n-1, short enough to be read whole.
  await typed.spoken((text) => /^i\.m = 7\.0 .*3n-1 statt 3n\+1/.test(text) && text.endsWith(kPrompt));
  for (const mode of ['on', 'off']) {
    assert.deepEqual(await accessibilityFaults(typed.tab), [], `axe-core with the screen reader mode ${mode}`);
    await typed.tap(kReader);
  }
  const link = await linkOf(typed);
  assert.equal(link, `${url}#keys=%0D12%0DG%0DM%0D7%0D`);
  const opened = await Phone.open(browser, link);
  await opened.atPrompt();
  assert.deepEqual((await opened.lines()).map(withoutTimes), (await typed.lines()).map(withoutTimes),
    'the linked session shows what the typed one showed');
  await opened.tab.close();
  return typed;
}

// Broken links start the program as usual with a notice; a cut one types
// what it keeps; keys that end the program end it.
async function badLinks(phone, url) {
  const broken = 'The keys of this link could not be read, so none were typed.';
  const cases = [
    ['%ZZ', broken, 'Bitte EMTER'],
    ['%0D%C3%28', broken, 'Bitte EMTER'],
    // An Enter at the start table, then 99,999 Backspaces at the prompt.
    [`%0D${'%08'.repeat(99999)}`, 'This link has more than 4,096 keys; only the first 4,096 were typed.', kPrompt],
  ];
  for (const [keys, notice, last] of cases) {
    await phone.tab.goto('about:blank');
    await phone.tab.goto(`${url}#keys=${keys}`, { waitUntil: 'load' });
    await until('the program waiting', async () => await phone.waiting()
      && plain((await phone.lines()).filter((line) => line !== '').at(-1)).includes(last), 20000);
    assert.equal(await phone.notice(), notice, keys.slice(0, 12));
  }
  // The 4,096 keys and one more are too many for a link, and the first
  // 4,096 are typed again in English.
  await phone.tap('Backspace', 'Link');
  assert.equal(await phone.notice(), 'This session has more than 4,096 keys, too many for a link.');
  await phone.switchLanguage('English');
  await phone.showsLast('Exponent i (max 32)');
  assert.equal(await phone.notice(), 'This session had more than 4,096 keys; only the first 4,096 were typed again.');
  await phone.tab.goto('about:blank');
  await phone.tab.goto(`${url}#keys=%0AQ%0D%0D`, { waitUntil: 'load' });
  await until('the end of the program', () => phone.tab.evaluate(() => window.collatzperm.ended()));
  assert.equal(plain((await phone.lines()).filter((line) => line !== '').at(-1)), kEnded);
  await phone.spoken((text) => text === kEnded);
  // An ended session switches too, and ends again.
  await phone.switchLanguage('Deutsch');
  assert.ok(await phone.tab.evaluate(() => window.collatzperm.ended()), 'the session ended in German too');
}

// Installable by Chromium's own check, and with the server gone a reload
// still shows the start table, from the service worker's cache.
async function offline(phone, server) {
  await phone.tab.goto(server.url, { waitUntil: 'load' });
  await phone.tab.evaluate(() => navigator.serviceWorker.ready);
  const cdp = await phone.tab.createCDPSession();
  const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
  assert.deepEqual(installabilityErrors, [], 'installable');
  server.close();
  await phone.tab.reload({ waitUntil: 'load' });
  await until('the start table offline', async () => await phone.waiting()
    && (await phone.lines()).some((line) => line.includes('Bitte EMTER')));
}

const server = await serve(site);
// WebGL in software: on a touch screen the GPU draws.
const browser = await launch({ gpu: true });
try {
  await browser.defaultBrowserContext().overridePermissions(server.url, ['clipboard-read', 'clipboard-sanitized-write']);
  const phone = await Phone.open(browser, server.url);
  await buttonsAndText(phone);
  const tapsMs = await session(phone);
  // The run-time prompt's keys are not in the link.
  assert.equal(await linkOf(phone), `${server.url}#keys=%0D20%0DG%0D${'1234567890'.repeat(5)}%0DK%0D32%0D`);
  await turned(phone);
  await picture(phone);
  const linked = await linkedSession(browser, server.url);
  await badLinks(linked, server.url);
  await offline(linked, server);
  assert.ok(await phone.tab.evaluate(() => document.querySelector('.xterm-screen canvas') !== null), 'the GPU draws');
  for (const tab of [phone.tab, linked.tab]) assert.deepEqual(tab.errors, [], 'no errors in the browser console');
  console.log(`The phone session matches (50 taps in ${tapsMs} ms).`);
} finally {
  await browser.close();
  server.close();
}
