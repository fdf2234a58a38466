// A new size for xterm.js that keeps the cursor where a terminal keeps it.
// Free of the page: the tests run it on xterm.js's headless build.

// The buffer line where the cursor's line starts, its wrapped parts above it.
function cursorLineStart(buffer) {
  let y = buffer.baseY + buffer.cursorY;
  while (y > 0 && buffer.getLine(y)?.isWrapped) --y;
  return y;
}

// A new size for xterm.js, with the cursor on the cell of its line where it
// stood. xterm.js rewraps the cursor's line as it does every line, but leaves
// the cursor in its old column, wherever that is now; the program takes it
// as a terminal keeps it, on its cell, and goes on from there. (The last
// column with the wrap still to come counts as the next line's start, and
// stands for it.)
export function resizeKeepingCursor(terminal, cols, rows, write) {
  if (cols === terminal.cols && rows === terminal.rows) return;
  const widthChanged = cols !== terminal.cols;
  let buffer = terminal.buffer.active;
  const cell = (buffer.baseY + buffer.cursorY - cursorLineStart(buffer)) * terminal.cols + buffer.cursorX;
  terminal.resize(cols, rows);
  // At a line's start the cursor stays there.
  if (!widthChanged || cell === 0) return;
  buffer = terminal.buffer.active;
  const at = cell % cols === 0 ? cell - 1 : cell;
  const y = Math.min(rows - 1, Math.max(0, cursorLineStart(buffer) + Math.floor(at / cols) - buffer.baseY));
  write(`\x1b[${y + 1};${(at % cols) + 1}H`);
}
