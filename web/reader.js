// The screen reader mode: xterm.js puts the rows in the accessibility tree,
// and the page says what is new each time the program waits for input, in a
// live region of its own. xterm.js's live region reads the output as it
// streams, which buries the prompt under rows nobody can follow (style.css
// hides it); here a screen of up to kWholeLines lines is read whole, more
// (a search's rows, a listing) as a count and its last kLastLines: the
// result line and the prompt. The mode is kept in localStorage; Alt+Shift+R
// turns it on and off from anywhere in the page, the terminal too, whose
// keys otherwise all go to the program (which has no use for Alt+Shift+R).
import { store, stored } from './stored.js';

const kWholeLines = 8;
const kLastLines = 3;
const kModeKey = 'collatzperm.screenReader';
const kOn = 'Screen reader mode on.';
const kOff = 'Screen reader mode off.';
const kNotRead = (count) => `${count} more line${count === 1 ? '' : 's'}, not read; the last:`;

function isShortcut(event) {
  return event.type === 'keydown' && event.code === 'KeyR' && event.altKey && event.shiftKey && !event.ctrlKey
    && !event.metaKey;
}

// The lines from buffer line `from` to the cursor's, wrapped ones joined,
// blank ones left out.
function linesSince(terminal, from) {
  const buffer = terminal.buffer.active;
  const lines = [];
  for (let y = from; y <= buffer.baseY + buffer.cursorY; ++y) {
    const line = buffer.getLine(y);
    const text = line.translateToString(true);
    if (line.isWrapped && lines.length > 0) lines[lines.length - 1] += text;
    else lines.push(text);
  }
  return lines.map((line) => line.trim()).filter((line) => line !== '');
}

// Takes the Screen reader button and the live region. Of what it returns,
// the page calls waited() when the program waits for input with everything
// drawn, and tell() with a line of its own (in English).
export function setUpScreenReader(terminal, button, region) {
  let on = stored(kModeKey) === 'on';
  let mark = null;  // the cursor's line when the program last waited
  let cleared = false;  // the screen was cleared since

  function say(...parts) {
    region.replaceChildren(...parts.map((part) => {
      const line = document.createElement('p');
      line.textContent = part.text;
      if (part.lang) line.lang = part.lang;
      return line;
    }));
  }

  function show() {
    terminal.options.screenReaderMode = on;
    button.setAttribute('aria-pressed', String(on));
  }

  function toggle() {
    on = !on;
    show();
    say({ text: on ? kOn : kOff, lang: 'en' });
    store(kModeKey, on ? 'on' : 'off');
  }

  show();
  button.addEventListener('click', toggle);
  terminal.attachCustomKeyEventHandler((event) => {
    if (!isShortcut(event)) return true;
    event.preventDefault();
    toggle();
    return false;
  });
  addEventListener('keydown', (event) => {
    if (!isShortcut(event) || event.target === terminal.textarea) return;
    event.preventDefault();
    toggle();
  });
  terminal.parser.registerCsiHandler({ final: 'J' }, (params) => {
    if (params[0] >= 2) cleared = true;
    return false;
  });

  function tell(text) {
    if (on) say({ text, lang: 'en' });
  }

  function waited() {
    const buffer = terminal.buffer.active;
    const from = cleared || !mark || mark.isDisposed ? buffer.baseY : mark.line + 1;
    mark?.dispose();
    mark = terminal.registerMarker(0);
    cleared = false;
    if (!on) return;
    const lines = linesSince(terminal, from);
    if (lines.length === 0) return;
    const spoken = lines.length <= kWholeLines ? lines : lines.slice(-kLastLines);
    const note = lines.length > kWholeLines ? [{ text: kNotRead(lines.length - kLastLines), lang: 'en' }] : [];
    say(...note, ...spoken.map((text) => ({ text })));
  }

  return { waited, tell };
}
