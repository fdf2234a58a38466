// A resize of xterm.js through the page's resizeKeepingCursor leaves what a
// terminal drawn at the new width from the start would have: the same lines,
// and the cursor on the same cell of its line (in the last column where that
// terminal has it there with the wrap still to come). Above the cursor's line
// and on it, at many widths, with and without scroll-back.
//   node resize_cursor.mjs
import assert from 'node:assert/strict';

import { resizeKeepingCursor } from '../../web/resize.js';
import { requireWeb } from './page_driver.mjs';

const { Terminal } = requireWeb('@xterm/headless');
const kWidths = [20, 63, 67, 77, 91];
const kLengths = [0, 1, 62, 63, 67, 70, 77, 126, 154, 200];

const written = (terminal, data) => new Promise((resolve) => terminal.write(data, resolve));

async function drawn(cols, rows, text) {
  const terminal = new Terminal({ cols, rows, scrollback: 1000, reflowCursorLine: true, allowProposedApi: true });
  await written(terminal, text);
  return terminal;
}

// The lines as they read, wrapped ones joined, and the cursor as its line's
// number among those and its place there in lines and columns.
function seen(terminal) {
  const buffer = terminal.buffer.active;
  const lines = [];
  let cursor = null;
  for (let y = 0; y < buffer.length; ++y) {
    const line = buffer.getLine(y);
    if (!line.isWrapped) lines.push({ text: '', first: y });
    lines.at(-1).text += line.translateToString(true);
    if (y === buffer.baseY + buffer.cursorY) {
      cursor = [lines.length - 1, y - lines.at(-1).first, Math.min(buffer.cursorX, terminal.cols - 1)];
    }
  }
  return { lines: lines.map((line) => line.text).join('\n').trimEnd(), cursor };
}

let cases = 0;
for (const before of [2, 40]) {
  const above = Array.from({ length: before }, (_, n) => `${n} ${'x'.repeat((n * 37) % 150)}\r\n`).join('');
  for (const length of kLengths) {
    const text = above + 'A'.repeat(length);
    for (const from of kWidths) {
      for (const to of kWidths) {
        if (from === to) continue;
        const terminal = await drawn(from, 30, text);
        resizeKeepingCursor(terminal, to, 24, (data) => terminal.write(data));
        await written(terminal, '');
        assert.deepEqual(seen(terminal), seen(await drawn(to, 24, text)),
          `${before} lines, then ${length} cells, from ${from} to ${to} columns`);
        ++cases;
      }
    }
  }
}
console.log(`The cursor keeps its cell in ${cases} resizes.`);
