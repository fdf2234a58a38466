// The page around collatzperm: xterm.js is its terminal, and Module.page is
// what the program's back end (console/web/page.cpp) calls. The program runs
// on the page's own thread; each of its waits gives the browser its turn.
import { fitTerminal } from './fit.js';
import { setUpHelp } from './help.js';
import { Terminal } from './xterm.mjs';
import { keepFocus, setUpKeyButtons } from './keys.js';
import { chosenLanguage, languageArguments, setUpLanguage } from './language.js';
import { keysOfLink, setUpLinkButton, showNotice } from './link.js';
import { nextTurn, Output } from './output.js';
import { setUpPictures } from './picture/control.js';
import { setUpScreenReader } from './reader.js';
import { tuneTerminal } from './xterm_tuning.js';

const kEndedLine = 'collatzperm has ended. Reload the page to start it again.';
const kErrorLine = 'collatzperm stopped on an error. Reload the page to start it again.';
// The 16 console colours on black, in ANSI order: Windows' own palette, with
// the four that read badly on black made lighter in the same hue and
// saturation, for a contrast of at least 4.5:1 (WCAG AA). The program draws
// in 9 to 15 (bright blue to bright white) on 0.
//   black #000000                          bright black   #767676  4.6:1
//   red #ea1225 (was #c50f1f)  4.6:1       bright red     #e74856  5.5:1
//   green #13a10e              6.1:1       bright green   #16c60c  9.1:1
//   yellow #c19c00             8.0:1       bright yellow  #f9f1a5 18.2:1
//   blue #3669ff (was #0037da) 4.6:1       bright blue    #3b78ff  5.3:1
//   magenta #c521dc (#881798)  4.6:1       bright magenta #d700bc (was #b4009e) 4.6:1
//   cyan #3a96dd               6.6:1       bright cyan    #61d6d6 12.1:1
//   white #cccccc             13.1:1       bright white   #f2f2f2 18.8:1
const kTheme = {
  background: '#000000', foreground: '#cccccc', cursor: '#cccccc',
  black: '#000000', red: '#ea1225', green: '#13a10e', yellow: '#c19c00',
  blue: '#3669ff', magenta: '#c521dc', cyan: '#3a96dd', white: '#cccccc',
  brightBlack: '#767676', brightRed: '#e74856', brightGreen: '#16c60c',
  brightYellow: '#f9f1a5', brightBlue: '#3b78ff', brightMagenta: '#d700bc',
  brightCyan: '#61d6d6', brightWhite: '#f2f2f2',
};

const encoder = new TextEncoder();
let typed = [];  // whole key presses and pastes, as UTF-8, oldest first
const link = keysOfLink(location.hash);
const language = chosenLanguage();
let ended = false;
let wake = null;  // the program's wait for input, if it waits
let started = false;  // the program has waited for input once
let opened = false;  // the terminal is in the page

function wakeProgram() {
  if (wake) {
    const resume = wake;
    wake = null;
    resume();
  }
}

// Keys typed while the program loads wait for it; after its end they start
// nothing. An empty press would read as none and hold up those after it.
// Whoever types, on the keyboard or the key buttons, sees the line it goes to.
function type(data) {
  if (ended || data.length === 0) return;
  typed.push(encoder.encode(data));
  terminal.scrollToBottom();
  wakeProgram();
}

// On a touch screen the GPU draws, where WebGL 2 is there; elsewhere, and
// if its context is lost, the DOM renderer does.
async function drawWithGpu() {
  try {
    const { WebglAddon } = await import('./addon-webgl.mjs');
    const gpu = new WebglAddon();
    terminal.loadAddon(gpu);
    gpu.onContextLoss(() => gpu.dispose());
  } catch {
    // the DOM renderer stays
  }
}

// What can wait until the start table is drawn and the page has nothing
// else to do: the GPU, and the service worker that keeps the site offline
// and makes it installable (where there can be none, as on a plain http
// address, the page works as it is).
function afterStart() {
  if (matchMedia('(pointer: coarse)').matches) {
    output.usePictures();
    drawWithGpu();
  }
  navigator.serviceWorker?.register('service_worker.js').catch(() => {});
}

// The line goes below everything drawn: the program's end leaves the cursor
// on a line of its own, a failure anywhere.
function endWith(line, lineBreak) {
  if (ended) return;
  ended = true;
  typed = [];
  open();
  output.showAll();
  // Said after what the program's last wait has to say.
  output.writeAfter(`\x1b[0m${lineBreak}${line}\r\n`, () => reader.tell(line));
}

// The terminal goes into the page once the program's first screen is in
// it and the program waits, so that the first picture it draws is that
// screen, not an empty one first.
function open() {
  if (opened) return;
  opened = true;
  fitted.open();
  tuneTerminal(terminal);
  terminal.focus();
  useTextField(terminal.textarea);
}

const page = {
  write: (bytes) => output.write(bytes),
  // One key press or paste at a time, so that the program knows where each
  // ends: an Esc alone is the Esc key, not the start of the next key's sequence.
  typedSize: () => (typed.length > 0 ? typed[0].length : 0),
  takeTyped: () => typed.shift(),
  takenAtPrompt: (key) => {
    link.taken(key);
    pictures.keyTaken();
  },
  // Keys may have come while the program had a turn of its own (a flush
  // after a resize): then there is nothing to wait for. A link's keys go in
  // one at a time, each when the program waits for input.
  nextInput() {
    output.showAll();
    output.writeAfter('', reader.waited);
    if (!started) {
      started = true;
      output.writeAfter('', open);
      const drawn = terminal.onRender(() => {
        drawn.dispose();
        if (window.requestIdleCallback) requestIdleCallback(afterStart, { timeout: 2000 });
        else setTimeout(afterStart, 500);
      });
    }
    const linked = typed.length === 0 && link.next();
    if (linked) typed.push(encoder.encode(linked));
    else if (typed.length === 0) pictures.typeChosen();
    return typed.length > 0 ? Promise.resolve() : new Promise((resolve) => { wake = resolve; });
  },
  // A turn for the browser, or a wait until the next picture has room.
  turn() {
    return output.room() ?? new Promise(nextTurn);
  },
  columns: () => terminal.cols,
  // What the program shows, for the picture beside the terminal.
  pictures: (bytes) => pictures.take(bytes),
  ended: () => endWith(kEndedLine, ''),
};

// A failure the program could not report itself still shows in the page.
function failed(what) {
  endWith(kErrorLine, '\r\n');
  console.warn('collatzperm:', what);
}
addEventListener('error', (event) => failed(event.message));
addEventListener('unhandledrejection', (event) => failed(event.reason));

// The program starts with the code compiled meanwhile (index.html); it
// first calls the page once this script has run.
createCollatzperm({
  page,
  arguments: languageArguments(language),
  onExit: page.ended,
  onAbort: failed,
  instantiateWasm(imports, started) {
    window.collatzpermCode.then((code) => WebAssembly.instantiate(code, imports)).then(started, failed);
    return {};
  },
}).catch(failed);

const terminal = new Terminal({
  scrollback: 16000,
  // The program takes every line as rewrapped at a new width, the cursor's
  // too, as a terminal does; xterm.js leaves the cursor's line to shells.
  reflowCursorLine: true,
  theme: kTheme,
  fontFamily: '"DejaVu Sans Mono", Consolas, Menlo, monospace',
  fontSize: 15,
});
// The key buttons and a notice first: they take their room before the
// terminal is sized.
const useTextField = setUpKeyButtons(document.getElementById('keys'), type);
setUpLinkButton(document.getElementById('link'), link);
if (link.notice) showNotice(link.notice);
const reader = setUpScreenReader(terminal, document.getElementById('reader'), document.getElementById('spoken'));
const output = new Output(terminal);
const fitted = fitTerminal(terminal, document.getElementById('terminal'), document.getElementById('smaller'),
  document.getElementById('larger'), output);
setUpLanguage(language, document.getElementById('language'),
  [document.getElementById('terminal'), document.getElementById('spoken')], link);
setUpHelp(language, document.getElementById('help'), terminal);
// A press on the page's tools leaves the keys going where they went.
keepFocus(document.getElementById('tools'));
const pictures = setUpPictures({
  tools: document.getElementById('tools'), main: document.querySelector('main'), terminal,
  typeKey: type, waiting: () => wake !== null, refit: fitted.refit,
});
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

// For tests and the curious: the terminal, and whether the program waits
// for a key with everything drawn.
window.collatzperm = {
  terminal,
  pictures,
  waiting: () => wake !== null && output.unparsed === 0,
  ended: () => ended,
};
