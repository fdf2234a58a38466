// Pictures of the page in headless Chromium, after make web: the start table,
// the search for 2^12 with its listing G (docs/web_screenshot.png, the one the
// README shows) and the run-time prompt of a search, in build-web/screenshots/;
// the search for 2^20 on a phone, typed with its key buttons
// (docs/phone_screenshot.png); and the picture beside the terminal, each of
// its views (docs/picture_*.png).
//   node docs/make_web_screenshots.mjs
import fs from 'node:fs';
import path from 'node:path';

import { launch, openTab, root, serve, until } from '../tests/web/page_driver.mjs';

const out = path.join(root, 'build-web', 'screenshots');

// The picture beside the terminal in a wide window, one of each view: the
// tree of 2^20 (zoomed in, its leaves written), its spread, the path of 27,
// and the listing G of 2^12 (docs/picture_*.png).
async function pictureScreenshots(browser) {
  const tab = await openTab(browser, { width: 1400, height: 700 });
  await tab.goto(server.url, { waitUntil: 'load' });
  const picture = () => tab.evaluate(() => window.collatzperm.pictures.viewer()?.state() ?? {});
  const ready = (what, check) => until(what, async () => await tab.evaluate(() => window.collatzperm.waiting())
    && check(await picture()));
  const type = async (keys) => {
    await tab.focus('.xterm-helper-textarea');
    await tab.keyboard.type(keys);
    await tab.keyboard.press('Enter');
  };
  await until('the start table', () => tab.evaluate(() => window.collatzperm.waiting()));
  await tab.click('#picture-button');
  await type('');
  await type('20');
  await ready('the tree of 20', (state) => state.leaves?.length === 72);
  // A leaf in the middle and its path to 1, stretched until the leaves' numbers show.
  await tab.focus('#picture .picture-stage');
  for (const key of ['ArrowDown', ...Array(8).fill('PageDown')]) await tab.keyboard.press(key);
  await tab.evaluate(() => window.collatzperm.pictures.viewer().view().zoomBy(2.5));
  await tab.keyboard.press('ArrowDown');
  await tab.focus('.xterm-helper-textarea');
  await tab.screenshot({ path: path.join(root, 'docs', 'picture_tree.png') });
  await tab.click('#picture .picture-bar button[aria-label="Spread view"]');
  await tab.screenshot({ path: path.join(root, 'docs', 'picture_spread.png') });
  await tab.click('#picture .picture-bar button[aria-label="Tree view"]');
  await type('0027');
  await ready('the path of 27', (state) => state.values?.[0]?.[0] === '27');
  await tab.screenshot({ path: path.join(root, 'docs', 'picture_path.png') });
  await type('12');
  await ready('the tree of 12', (state) => state.leaves?.length === 10);
  await type('G');
  await ready('the listing', (state) => state.kind === 'listing');
  await tab.screenshot({ path: path.join(root, 'docs', 'picture_listing.png') });
  // Closed again, as the other pictures want the page.
  await tab.click('#picture-button');
  if (tab.errors.length > 0) throw new Error(tab.errors.join('\n'));
  await tab.close();
}
fs.mkdirSync(out, { recursive: true });
const server = await serve(path.join(root, 'build-web', 'site'));
const browser = await launch();
try {
  const tab = await openTab(browser, { width: 960, height: 600 });
  await tab.goto(server.url, { waitUntil: 'load' });
  const rows = () => tab.evaluate(() => (document.querySelector('.xterm-rows')?.textContent ?? '').replace(/\u00a0/g, ' '));
  const waitFor = (text) => until(text, async () => (await rows()).includes(text)
    && tab.evaluate(() => window.collatzperm.waiting()));
  // The keys go out together, so that a digit after Enter reaches the search.
  const press = async (keys) => {
    await Promise.all([...keys].map((key) => tab.keyboard.press(key === '\n' ? 'Enter' : key)));
  };

  await waitFor('Bitte EMTER');
  await tab.screenshot({ path: path.join(out, 'start_table.png') });
  await press('\n');
  await waitFor('Eingabe i (max 32)');
  await press('12\n');
  await waitFor('i.m = 12.');  // keys typed during a search are the search's
  await press('G\n');
  await waitFor('G +12');
  await tab.screenshot({ path: path.join(root, 'docs', 'web_screenshot.png') });
  await press('32\n5');
  await until('rows of 32', async () => (await rows()).includes('i.m = 32.'));
  await press(' ');
  await waitFor('Eingabe hier');
  await tab.screenshot({ path: path.join(out, 'run_time_prompt.png') });
  if (tab.errors.length > 0) throw new Error(tab.errors.join('\n'));

  await pictureScreenshots(browser);

  const phone = await openTab(browser, { width: 390, height: 844, deviceScaleFactor: 2, isMobile: true, hasTouch: true });
  await phone.goto(server.url, { waitUntil: 'load' });
  const phoneRows = () => phone.evaluate(() => {
    const { terminal } = window.collatzperm;
    const buffer = terminal.buffer.active;
    let text = '';
    for (let y = 0; y < buffer.length; ++y) text += buffer.getLine(y).translateToString(true);
    return terminal.buffer && window.collatzperm.waiting() && text;
  });
  const tap = async (name) => (await phone.$(`::-p-aria([name="${name}"][role="button"])`)).tap();
  await until('the start table', async () => (await phoneRows() || '').includes('Bitte EMTER'));
  await tap('Enter');
  await until('the prompt', async () => (await phoneRows() || '').includes('Eingabe i (max 32)'));
  for (const key of ['2', '0', 'Enter']) await tap(key);
  await until('the search for 2^20', async () => (await phoneRows() || '').includes('i.m = 20.'));
  await phone.screenshot({ path: path.join(root, 'docs', 'phone_screenshot.png') });
  if (phone.errors.length > 0) throw new Error(phone.errors.join('\n'));
  console.log(`docs/web_screenshot.png, docs/phone_screenshot.png, and the others in ${out}`);
} finally {
  await browser.close();
  server.close();
}
