// Pictures of the page in headless Chromium, after make web: the start table,
// the search for 2^12 with its listing G (docs/web_screenshot.png, the one the
// README shows) and the run-time prompt of a search, in build-web/screenshots/.
//   node docs/make_web_screenshots.mjs
import fs from 'node:fs';
import path from 'node:path';

import { launch, openTab, root, serve, until } from '../tests/web/page_driver.mjs';

const out = path.join(root, 'build-web', 'screenshots');
fs.mkdirSync(out, { recursive: true });
const server = await serve(path.join(root, 'build-web', 'site'));
const browser = await launch();
try {
  const tab = await openTab(browser, 960, 600);
  await tab.goto(server.url, { waitUntil: 'load' });
  const rows = () => tab.evaluate(() => document.querySelector('.xterm-rows').textContent.replace(/\u00a0/g, ' '));
  const waitFor = (text) => until(text, async () => (await rows()).includes(text)
    && tab.evaluate(() => window.collatzperm.waiting()));
  const press = async (keys) => {
    for (const key of keys) await tab.keyboard.press(key === '\n' ? 'Enter' : key);
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
  console.log(`docs/web_screenshot.png, and the others in ${out}`);
} finally {
  await browser.close();
  server.close();
}
