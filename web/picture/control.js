// The Picture control and what it needs before it is ever opened: the
// program's records of what it shows (console/web/picture_channel.cpp), kept
// as the lines of the last whole picture; where the picture stands (beside the
// terminal where that keeps 80 columns, else over it; on a phone over the
// whole page); and the keys of a chosen number, typed when the program next
// waits for a command. The drawing (viewer.js, with D3's d3-zoom) loads the
// first time the picture opens. Open or not, and the view, are kept.
import { store, stored } from '../stored.js';

const kStoredKey = 'collatzperm.picture';
const kMinColumns = 80;
const kMinBesideWidth = 360;
// Room the terminal takes beside its columns: its scroll bar (14), padding
// (4), the picture's edge (1), and a few pixels for rounding.
const kTerminalEdges = 24;
// "00" and a number fill the 17 characters of the prompt's command at 15 digits.
const kMostChosenDigits = 15;
const kBeginnings = ['search,', 'run,', 'listing,'];
const kNotLoaded = 'The picture could not be loaded. The Picture button tries again.';

function readChoice() {
  try {
    const kept = JSON.parse(stored(kStoredKey) ?? '{}');
    return { open: kept.open === true, view: kept.view === 'spread' ? 'spread' : 'tree', linear: kept.linear === true };
  } catch {
    return { open: false, view: 'tree', linear: false };
  }
}

// `tools`, the page's tool bar; `main`, where the picture goes beside or over
// the terminal; `typeKey`, types one key into the program's queue; `waiting`,
// whether the program waits for input; `refit`, the terminal's one way to a
// new size. Of what it returns, the page
// hands it the program's records (take), each key the program takes at a
// prompt (keyTaken), and asks, when the program waits for input, whether a
// chosen number's keys are due (typeChosen).
export function setUpPictures({ tools, main, terminal, typeKey, waiting, refit }) {
  const choice = readChoice();
  const coarse = matchMedia('(pointer: coarse)');
  const decoder = new TextDecoder();
  let rest = '';  // the start of a line not whole yet
  let current = null;  // lines of the picture being told
  let latest = null;  // lines of the last whole one
  let atPrompt = false;  // waiting for a command, nothing typed on its line yet
  let chosen = null;  // the keys of a chosen number, not typed yet
  let viewer = null;  // viewer.js, once loaded
  let loading = null;

  const button = document.createElement('button');
  button.type = 'button';
  button.id = 'picture-button';
  button.textContent = 'Picture';
  button.setAttribute('aria-pressed', 'false');
  button.setAttribute('aria-controls', 'picture');
  tools.append(button);

  const panel = document.createElement('section');
  panel.id = 'picture';
  panel.setAttribute('aria-label', 'Picture');
  panel.hidden = true;
  main.append(panel);

  // The width of the terminal's cell at its present text size.
  function cellWidth() {
    const context = document.createElement('canvas').getContext('2d');
    context.font = `${terminal.options.fontSize}px ${terminal.options.fontFamily}`;
    return context.measureText('W').width;
  }

  function save() {
    store(kStoredKey, JSON.stringify(choice));
  }

  // Beside the terminal where it keeps 80 columns of its present cells, at
  // most half the width; otherwise over it. On a phone, over the whole page.
  // The terminal takes its new size through its one way to one.
  let placed = '';
  function place() {
    let where = '';
    let width = 0;
    if (choice.open && coarse.matches) {
      where = 'picture-screen';
    } else if (choice.open) {
      const room = main.clientWidth;
      width = Math.floor(Math.min(room / 2, room - kMinColumns * cellWidth() - kTerminalEdges));
      where = width >= kMinBesideWidth ? 'picture-beside' : 'picture-over';
    }
    if (`${where} ${width}` === placed) return;
    placed = `${where} ${width}`;
    document.body.classList.remove('picture-beside', 'picture-over', 'picture-screen');
    if (where) document.body.classList.add(where);
    if (where === 'picture-beside') document.documentElement.style.setProperty('--picture-width', `${width}px`);
    refit();
  }

  function show() {
    if (!choice.open || !viewer) return;
    viewer.show(latest);
  }

  async function load() {
    if (!loading) {
      const style = document.createElement('link');
      style.rel = 'stylesheet';
      style.href = new URL('./viewer.css', import.meta.url).href;
      document.head.append(style);
    }
    loading ??= import('./viewer.js').then((module) => {
      viewer = module.createViewer(panel, {
        choice,
        save,
        close: () => setOpen(false),
        choose,
        coarse,
      });
      return viewer;
    });
    return loading;
  }

  async function setOpen(open) {
    choice.open = open;
    save();
    button.setAttribute('aria-pressed', String(open));
    panel.hidden = !open;
    place();
    if (!open) {
      viewer?.hidden();
      return;
    }
    try {
      await load();
    } catch {
      // Offline before it was ever kept, say: the program goes on without it.
      loading = null;
      panel.textContent = kNotLoaded;
      return;
    }
    show();
  }

  button.addEventListener('click', () => setOpen(!choice.open));
  // A new window size, text size or pointer may move it.
  addEventListener('resize', place);
  coarse.addEventListener('change', place);
  terminal.onResize(place);
  // Kept open from the last visit: its place at once, so that the terminal
  // starts at its size, and its code once the start table is shown, so that
  // the table comes no later.
  let openAtPrompt = choice.open;
  if (openAtPrompt) {
    button.setAttribute('aria-pressed', 'true');
    panel.hidden = false;
    place();
  }

  // A number chosen in the picture: `00` and its digits and Enter, typed as
  // keys when the program next waits for a command with nothing typed yet.
  function choose(number) {
    if (!/^[0-9]+$/.test(number) || number.length > kMostChosenDigits) return false;
    chosen = ['0', '0', ...number, '\r'];
    if (waiting()) typeChosen();
    return true;
  }

  function typeChosen() {
    if (!atPrompt || !chosen) return false;
    const keys = chosen;
    chosen = null;
    atPrompt = false;
    for (const key of keys) typeKey(key);
    return true;
  }

  function line(text) {
    if (kBeginnings.some((beginning) => text.startsWith(beginning))) {
      current = [text];
      atPrompt = false;
    } else if (text === 'prompt') {
      atPrompt = true;
      if (openAtPrompt && choice.open) setOpen(true);
      openAtPrompt = false;
    } else if (current) {
      current.push(text);
      if (text === 'end' || text.startsWith('end,')) {
        latest = current;
        current = null;
        show();
      }
    }
  }

  return {
    take(bytes) {
      const text = rest + decoder.decode(bytes);
      let at = 0;
      for (let end = text.indexOf('\n'); end >= 0; end = text.indexOf('\n', at)) {
        line(text.slice(at, end));
        at = end + 1;
      }
      rest = text.slice(at);
    },
    keyTaken() {
      atPrompt = false;
    },
    // The program waits for input: the chosen number's keys go in if it
    // waits for a command.
    typeChosen,
    // For tests: the last whole picture's lines, and the viewer.
    latest: () => latest,
    viewer: () => viewer,
  };
}
