// The page around collatzperm: xterm.js is its terminal, and Module.page is
// what the program's back end (console/web/page.cpp) calls. The program runs
// on the page's own thread; each of its waits gives the browser its turn.
import { fitToScreen } from './fit.js';
import { Terminal } from './xterm.mjs';
import { setUpKeyButtons } from './keys.js';
import { keysOfLink, setUpLinkButton, showNotice } from './link.js';

const kEndedLine = 'collatzperm has ended. Reload the page to start it again.';
const kErrorLine = 'collatzperm stopped on an error. Reload the page to start it again.';
// Output xterm.js has not parsed yet: above the high mark the program
// waits at its next turn until the terminal is down to the low mark.
const kHighMark = 512 * 1024;
const kLowMark = 64 * 1024;
// While rows come faster than anyone reads them, the terminal gets them at
// most this often, so it draws fewer pictures: on a phone a picture of a
// scrolled screen costs more than parsing the rows in it.
const kFrameMs = 100;
// Each hand-over is drawn as one picture (xterm.js's synchronised output).
const kHoldPicture = '\x1b[?2026h';
const kShowPicture = '\x1b[?2026l';
// Where pictures are drawn by the GPU, output goes to xterm.js in pieces it
// parses in a few milliseconds each, and the page can answer a tap between
// them. The DOM renderer draws the whole screen after each piece that
// scrolled it, picture held or not: it gets the program's writes as they are.
const kPieceBytes = 4096;
// The 16 console colours (Windows' own palette), on black, in ANSI order.
const kTheme = {
  background: '#000000', foreground: '#cccccc', cursor: '#cccccc',
  black: '#000000', red: '#c50f1f', green: '#13a10e', yellow: '#c19c00',
  blue: '#0037da', magenta: '#881798', cyan: '#3a96dd', white: '#cccccc',
  brightBlack: '#767676', brightRed: '#e74856', brightGreen: '#16c60c',
  brightYellow: '#f9f1a5', brightBlue: '#3b78ff', brightMagenta: '#b4009e',
  brightCyan: '#61d6d6', brightWhite: '#f2f2f2',
};

const encoder = new TextEncoder();
let typed = [];  // whole key presses and pastes, as UTF-8, oldest first
const link = keysOfLink(location.hash);
let replayed = 0;  // keys of the link typed so far
let ended = false;
let wake = null;  // the program's wait for input, if it waits
let unparsed = 0;  // bytes held or handed to xterm.js and not parsed yet
let held = [];  // output not handed to xterm.js yet
let handedAt = -Infinity;
let handTimer = 0;
let pieceBytes = Infinity;
let gpuAsked = false;
let drained = null;  // the program's wait for the terminal to catch up
const turns = new MessageChannel();  // a turn without the timers' 4 ms clamp
let turnTaken = null;
turns.port1.onmessage = () => turnTaken();

function wakeProgram() {
  if (wake) {
    const resume = wake;
    wake = null;
    resume();
  }
}

// Keys typed while the program loads wait for it; after its end they start
// nothing. An empty press would read as none and hold up those after it.
function type(data) {
  if (ended || data.length === 0) return;
  typed.push(encoder.encode(data));
  wakeProgram();
}

function parsed(size) {
  unparsed -= size;
  if (drained && unparsed <= kLowMark) {
    const resume = drained;
    drained = null;
    resume();
  }
}

// On a touch screen the GPU draws the pictures once the start table is up,
// where WebGL 2 is there; elsewhere, and if its context is lost, the DOM
// renderer does.
async function drawWithGpu() {
  try {
    const { WebglAddon } = await import('./addon-webgl.mjs');
    const gpu = new WebglAddon();
    terminal.loadAddon(gpu);
    pieceBytes = kPieceBytes;
    gpu.onContextLoss(() => {
      pieceBytes = Infinity;
      gpu.dispose();
    });
  } catch {
    // the DOM renderer stays
  }
}

function handOver() {
  clearTimeout(handTimer);
  handTimer = 0;
  handedAt = performance.now();
  if (held.length === 0) return;
  terminal.write(kHoldPicture);
  for (const bytes of held) {
    for (let at = 0; at < bytes.length; at += pieceBytes) {
      const piece = bytes.subarray(at, at + pieceBytes);
      terminal.write(piece, () => parsed(piece.length));
    }
  }
  terminal.write(kShowPicture);
  held = [];
}

// The line goes below everything drawn: the program's end leaves the cursor
// on a line of its own, a failure anywhere.
function endWith(line, lineBreak) {
  if (ended) return;
  ended = true;
  typed = [];
  handOver();
  terminal.write(`\x1b[0m${lineBreak}${line}\r\n`);
}

const page = {
  // Output a frame or more after the last hand-over goes at once, so a row
  // before a chosen pause shows before it; output that comes sooner waits
  // for the next frame, or for the program to wait for a key.
  write(bytes) {
    unparsed += bytes.length;
    held.push(bytes);
    if (handTimer) return;
    const due = handedAt + kFrameMs - performance.now();
    if (due <= 0) handOver();
    else handTimer = setTimeout(handOver, due);
  },
  // One key press or paste at a time, so that the program knows where each
  // ends: an Esc alone is the Esc key, not the start of the next key's sequence.
  typedSize: () => (typed.length > 0 ? typed[0].length : 0),
  takeTyped: () => typed.shift(),
  takenAtPrompt: (key) => link.taken(key),
  // Keys may have come while the program had a turn of its own (a flush
  // after a resize): then there is nothing to wait for. A link's keys go in
  // one at a time, each when the program waits for input.
  nextInput() {
    handOver();
    if (!gpuAsked && matchMedia('(pointer: coarse)').matches) {
      gpuAsked = true;
      drawWithGpu();
    }
    if (typed.length === 0 && replayed < link.keys.length) typed.push(encoder.encode(link.keys[replayed++]));
    return typed.length > 0 ? Promise.resolve() : new Promise((resolve) => { wake = resolve; });
  },
  turn() {
    if (unparsed > kHighMark) return new Promise((resolve) => { drained = resolve; });
    return new Promise((resolve) => {
      turnTaken = resolve;
      turns.port2.postMessage(0);
    });
  },
  columns: () => terminal.cols,
  ended: () => endWith(kEndedLine, ''),
};

// A failure the program could not report itself still shows in the page.
function failed(what) {
  endWith(kErrorLine, '\r\n');
  console.warn('collatzperm:', what);
}
addEventListener('error', (event) => failed(event.message));
addEventListener('unhandledrejection', (event) => failed(event.reason));

// The program loads and compiles while the terminal is set up; it first
// calls the page once this script has run.
createCollatzperm({ page, onExit: page.ended, onAbort: failed }).catch(failed);

const terminal = new Terminal({
  scrollback: 16000,
  // The program takes every line as rewrapped at a new width, the cursor's
  // too, as a terminal does; xterm.js leaves the cursor's line to shells.
  reflowCursorLine: true,
  theme: kTheme,
  fontFamily: '"DejaVu Sans Mono", Consolas, Menlo, monospace',
  fontSize: 15,
});
const screen = document.getElementById('terminal');
terminal.open(screen);
fitToScreen(terminal, screen, document.getElementById('smaller'), document.getElementById('larger'));
terminal.focus();
terminal.onData(type);
terminal.onResize(wakeProgram);
// The program's beep: a short tone, as a console gives one.
let audio = null;
terminal.onBell(() => {
  audio ??= new AudioContext();
  const tone = audio.createOscillator();
  const volume = audio.createGain();
  tone.frequency.value = 800;
  volume.gain.value = 0.1;
  tone.connect(volume).connect(audio.destination);
  tone.start();
  tone.stop(audio.currentTime + 0.1);
});
setUpKeyButtons(document.getElementById('keys'), terminal.textarea, type);
setUpLinkButton(document.getElementById('link'), link);
if (link.notice) showNotice(link.notice);

// Offline once loaded, and installable: the service worker keeps the site.
// Where there can be none (a plain http address), the page works as it is.
addEventListener('load', () => navigator.serviceWorker?.register('service_worker.js').catch(() => {}));

// For tests and the curious: the terminal, and whether the program waits
// for a key with everything drawn.
window.collatzperm = {
  terminal,
  waiting: () => wake !== null && unparsed === 0,
  ended: () => ended,
};
