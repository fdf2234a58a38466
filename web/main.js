// The page around collatzperm: xterm.js is its terminal, and Module.page is
// what the program's back end (console/web/page.cpp) calls. The program runs
// on the page's own thread; each of its waits gives the browser its turn.
'use strict';

(() => {
  const kEndedLine = 'collatzperm has ended. Reload the page to start it again.';
  const kErrorLine = 'collatzperm stopped on an error. Reload the page to start it again.';
  // Output xterm.js has not parsed yet: above the high mark the program
  // waits at its next turn until the terminal is down to the low mark.
  const kHighMark = 512 * 1024;
  const kLowMark = 64 * 1024;
  // The 16 console colours (Windows' own palette), on black, in ANSI order.
  const kTheme = {
    background: '#000000', foreground: '#cccccc', cursor: '#cccccc',
    black: '#000000', red: '#c50f1f', green: '#13a10e', yellow: '#c19c00',
    blue: '#0037da', magenta: '#881798', cyan: '#3a96dd', white: '#cccccc',
    brightBlack: '#767676', brightRed: '#e74856', brightGreen: '#16c60c',
    brightYellow: '#f9f1a5', brightBlue: '#3b78ff', brightMagenta: '#b4009e',
    brightCyan: '#61d6d6', brightWhite: '#f2f2f2',
  };

  const terminal = new Terminal({
    scrollback: 16000,
    // The program takes every line as rewrapped at a new width, the cursor's
    // too, as a terminal does; xterm.js leaves the cursor's line to shells.
    reflowCursorLine: true,
    theme: kTheme,
    fontFamily: '"DejaVu Sans Mono", Consolas, Menlo, monospace',
    fontSize: 15,
  });
  const fit = new FitAddon.FitAddon();
  terminal.loadAddon(fit);
  terminal.open(document.getElementById('terminal'));
  fit.fit();
  terminal.focus();
  addEventListener('resize', () => fit.fit());

  const encoder = new TextEncoder();
  let typed = [];  // whole key presses and pastes, as UTF-8, oldest first
  let ended = false;
  let wake = null;  // the program's wait for input, if it waits
  let unparsed = 0;
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
  terminal.onData((data) => {
    if (ended || data.length === 0) return;
    typed.push(encoder.encode(data));
    wakeProgram();
  });
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

  // The line goes below everything drawn: the program's end leaves the cursor
  // on a line of its own, a failure anywhere.
  function endWith(line, lineBreak) {
    if (ended) return;
    ended = true;
    typed = [];
    terminal.write(`\x1b[0m${lineBreak}${line}\r\n`);
  }

  const page = {
    write(bytes) {
      unparsed += bytes.length;
      terminal.write(bytes, () => {
        unparsed -= bytes.length;
        if (drained && unparsed <= kLowMark) {
          const resume = drained;
          drained = null;
          resume();
        }
      });
    },
    // One key press or paste at a time, so that the program knows where each
    // ends: an Esc alone is the Esc key, not the start of the next key's sequence.
    typedSize: () => (typed.length > 0 ? typed[0].length : 0),
    takeTyped: () => typed.shift(),
    // Keys may have come while the program had a turn of its own (a flush
    // after a resize): then there is nothing to wait for.
    nextInput: () => (typed.length > 0 ? Promise.resolve() : new Promise((resolve) => { wake = resolve; })),
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
  const failed = (what) => {
    endWith(kErrorLine, '\r\n');
    console.warn('collatzperm:', what);
  };
  addEventListener('error', (event) => failed(event.message));
  addEventListener('unhandledrejection', (event) => failed(event.reason));

  // For tests and the curious: the terminal, and whether the program waits
  // for a key with everything drawn.
  window.collatzperm = {
    terminal,
    waiting: () => wake !== null && unparsed === 0,
    ended: () => ended,
  };
  createCollatzperm({
    page,
    onExit: page.ended,
    onAbort: failed,
  }).catch(failed);
})();
