// The terminal's size: it fills what the page leaves it and follows the
// window, the turned phone and the soft keyboard. On a touch screen the text
// is as large as lets a search row fit on one line: a row of 2^20 (63
// columns) upright, a row of 2^32 or a prompt with its exponent (77 columns)
// turned. The Larger and Smaller buttons change the size by steps, kept in
// localStorage.
import { FitAddon } from './addon-fit.mjs';
import { resizeKeepingCursor } from './resize.js';
import { store, stored } from './stored.js';

const kDesktopSize = 15;
const kMinFittedSize = 9;
const kUprightColumns = 63;
const kTurnedColumns = 77;
const kStepPx = 1;
const kMinSize = 6;
const kMaxSize = 40;
const kSteps = [-9, 25];
const kStepKey = 'collatzperm.textSize';
// xterm.js keeps this much of the width for its scroll bar.
const kScrollBarWidth = 14;

// The width and height the terminal's cells have on the screen, as the fit
// add-on reckons them.
function usableSize(screen) {
  const style = getComputedStyle(screen);
  return [Number.parseInt(style.width, 10) - kScrollBarWidth, Number.parseInt(style.height, 10)];
}

// A cell of the terminal's font at `size`, measured as xterm.js measures it.
function cell(terminal, size) {
  const context = document.createElement('canvas').getContext('2d');
  context.font = `${size}px ${terminal.options.fontFamily}`;
  const glyph = context.measureText('W');
  return [glyph.width, Math.ceil((glyph.fontBoundingBoxAscent + glyph.fontBoundingBoxDescent) * devicePixelRatio) / devicePixelRatio];
}

// Sizes the terminal for `screen` and keeps it so. Of what it returns,
// open() puts the terminal there, and refit() is the one way to a new size,
// whatever changed: the window, the phone turned, the soft keyboard, the text
// size, something beside the terminal. The size changes between the writes
// of `output`. Until the terminal is open (the program's first output, so
// that the first picture drawn is the program's) its size is reckoned as
// xterm.js will measure it.
export function fitTerminal(terminal, screen, smaller, larger, output) {
  const fit = new FitAddon();
  terminal.loadAddon(fit);
  const coarse = matchMedia('(pointer: coarse)');
  const advance = cell(terminal, 100)[0] / 100;
  let step = Number.parseInt(stored(kStepKey), 10) || 0;
  let due = false;

  function fittedSize(width) {
    if (!coarse.matches) return kDesktopSize;
    const columns = innerHeight > innerWidth ? kUprightColumns : kTurnedColumns;
    // Half a column to spare: xterm.js rounds the cell to device pixels.
    const size = Math.floor((10 * width) / ((columns + 0.5) * advance)) / 10;
    return Math.min(kDesktopSize, Math.max(kMinFittedSize, size));
  }

  // The columns are those of the font's own advance, whichever renderer
  // draws: the GPU's cells, rounded down to device pixels, would make room
  // for a few more, and the terminal would have them after any resize only.
  function resize() {
    due = false;
    const [width, height] = usableSize(screen);
    const size = Math.min(kMaxSize, Math.max(kMinSize, fittedSize(width) + step * kStepPx));
    if (terminal.options.fontSize !== size) terminal.options.fontSize = size;
    const [cellWidth, cellHeight] = cell(terminal, size);
    let cols = Math.floor(width / cellWidth);
    let rows = Math.floor(height / cellHeight);
    const measured = terminal.element && fit.proposeDimensions();
    if (measured) {
      cols = Math.min(cols, measured.cols);
      rows = measured.rows;
    }
    resizeKeepingCursor(terminal, Math.max(2, cols), Math.max(1, rows), (data) => output.writeAfter(data));
    // Whoever types sees the line they type on.
    if (document.activeElement === terminal.textarea) terminal.scrollToBottom();
  }

  function refit() {
    // The soft keyboard covers the page's bottom where the browser does
    // not resize the page for it; a pinch-zoomed view is left alone.
    const view = window.visualViewport;
    if (view && Math.abs(view.scale - 1) < 0.01) {
      document.documentElement.style.setProperty('--page-height', `${view.height}px`);
      scrollTo(0, 0);
    }
    if (due) return;
    due = true;
    output.betweenWrites(resize);
  }

  const change = (by) => {
    step = Math.min(kSteps[1], Math.max(kSteps[0], step + by));
    store(kStepKey, String(step));
    refit();
  };
  smaller.addEventListener('click', () => change(-1));
  larger.addEventListener('click', () => change(1));
  addEventListener('resize', refit);
  window.visualViewport?.addEventListener('resize', refit);
  coarse.addEventListener('change', refit);
  refit();
  // The bar under the terminal grows when a notice needs two lines.
  let size = [screen.clientWidth, screen.clientHeight];
  new ResizeObserver(() => {
    const now = [screen.clientWidth, screen.clientHeight];
    if (now[0] === size[0] && now[1] === size[1]) return;
    size = now;
    refit();
  }).observe(screen);
  return {
    open() {
      terminal.open(screen);
      refit();
    },
    refit,
  };
}
