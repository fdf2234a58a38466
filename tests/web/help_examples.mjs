// Every example in the page's help (its <samp>s) and in the guide (its
// ```text blocks) is the program's own output: it must stand in what the
// native program writes for the keys below, in that text's language. Run
// times differ from run to run and are left out.
//   node help_examples.mjs build/collatzperm .
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';

import { nativeLines } from './page_driver.mjs';

const [program, sources] = process.argv.slice(2);
// 8 after 17, its listings, 7 plain, compact and compressed, 16 compressed;
// then from the text screen's start value 24 in 3n-1: 88, and 10's loop.
const kKeys = '\n8\nG\nF\nD\n007\n0\n667\n6616\nT\nM\n88\n0010\nQ\n\n';
const withoutTimes = (line) => line.replace(/[0-9.]+ (sec|sek)/g, 'T $1').trimEnd();
const read = (file) => fs.readFileSync(path.join(sources, file), 'utf8');
const kTexts = [
  ['web/help_en.html', 'en', (text) => [...text.matchAll(/<samp>([^<]*)<\/samp>/g)].map((match) => match[1])],
  ['web/help_de.html', 'de', (text) => [...text.matchAll(/<samp>([^<]*)<\/samp>/g)].map((match) => match[1])],
  ['docs/GUIDE.md', 'en', (text) => [...text.matchAll(/```text\n([^`]*)```/g)]
    .flatMap((match) => match[1].trimEnd().split('\n'))],
];

for (const [file, language, examplesOf] of kTexts) {
  const transcript = nativeLines(program, kKeys, '', [`--language=${language}`]).map(withoutTimes);
  const examples = examplesOf(read(file));
  assert.ok(examples.length >= 5, `${file}: ${examples.length} examples found`);
  for (const example of examples.map(withoutTimes)) {
    assert.ok(transcript.some((line) => line.includes(example)), `${file}: "${example}" is not what the program shows`);
  }
  console.log(`${file}: ${examples.length} examples as the program shows them`);
}
