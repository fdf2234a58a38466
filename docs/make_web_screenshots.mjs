// Pictures of the page in headless Chromium, after make web: the start table,
// the search for 2^12 with its listing G (docs/web_screenshot.png, the one the
// README shows) and the run-time prompt of a search, in build-web/screenshots/;
// and the search for 2^20 on a phone, typed with its key buttons
// (docs/phone_screenshot.png).
//   node docs/make_web_screenshots.mjs
import fs from 'node:fs';
import path from 'node:path';

import { launch, openTab, root, serve, until } from '../tests/web/page_driver.mjs';

const out = path.join(root, 'build-web', 'screenshots');
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
