// How the program's output reaches xterm.js.
//
// On a touch screen (a phone's or a tablet's processor), as pictures: while
// rows come faster than anyone reads them, xterm.js takes in what came since
// the last picture and draws it as one (its synchronised output), at most
// every kFrameMs, in pieces that it parses in a few milliseconds each, so
// that the page answers a tap between them. A picture holds about what
// xterm.js parses in that time; the program fills the next one meanwhile and
// waits when it is full, so it stays a picture or two ahead of the screen,
// and a key pressed during a search stops it near the rows in view.
//
// Elsewhere it gets the program's writes as they come, and the program waits
// only when xterm.js falls far behind.
const kFrameMs = 100;
const kHoldPicture = '\x1b[?2026h';
const kShowPicture = '\x1b[?2026l';
const kPieceBytes = 4096;
const kMinPictureBytes = 8 * 1024;
const kMaxPictureBytes = 512 * 1024;
// Not parsed yet, as the DOM renderer gets it: above the high mark the
// program waits until xterm.js is down to the low mark.
const kHighMark = 512 * 1024;
const kLowMark = 64 * 1024;

// xterm.js 6 brings its scroll bar up to date on every line that scrolls: a
// layout of the bar and a timer set and cleared, a third of its time for a
// search's rows on a phone. Once a frame is as often as anyone sees it.
// Where its inner parts are not as this version has them, nothing changes.
export function syncScrollBarPerFrame(terminal) {
  const viewport = terminal._core?._viewport;
  const sync = viewport?._sync;
  if (typeof sync !== 'function' || typeof viewport._renderService?.addRefreshCallback !== 'function') return;
  let queued = false;
  // Called bare for each scrolled line, and with a line to show otherwise.
  viewport._sync = function syncOncePerFrame(...line) {
    if (line.length > 0) {
      sync.apply(this, line);
      return;
    }
    if (queued) return;
    queued = true;
    this._renderService.addRefreshCallback(() => {
      queued = false;
      sync.call(this);
    });
  };
}

// Its DOM renderer redraws every row whenever the selection is brought up
// to date, which is on every frame that scrolled, held picture or not, with
// nothing selected before or after (a tap leaves a selection that starts
// where it ends). Only a selection needs that.
const isEmpty = (start, end) => !start || !end || (start[0] === end[0] && start[1] === end[1]);

export function redrawSelectionOnlyIfAny(terminal) {
  const renderService = terminal._core?._renderService;
  const redraw = renderService?.handleSelectionChanged;
  if (typeof redraw !== 'function' || !renderService._selectionState) return;
  renderService.handleSelectionChanged = function redrawIfSelected(start, end, ...rest) {
    const was = this._selectionState;
    if (isEmpty(start, end) && isEmpty(was.start, was.end)) return;
    redraw.call(this, start, end, ...rest);
  };
}

export class Output {
  #terminal;
  #pictures = false;
  #held = [];  // output for the next picture
  #heldBytes = 0;
  #inFlight = 0;  // pictures handed to xterm.js and not parsed yet
  #pictureAt = -Infinity;  // when the last picture was handed over
  #parsedAt = -Infinity;  // when xterm.js last finished one
  #bytesPerMs = 256;  // how fast xterm.js parses, a guess until it has
  #timer = 0;
  #room = null;  // the program's wait for room
  #pieces = [];  // of pictures, for xterm.js, each with what follows its parsing
  #feeding = false;
  #turns = new MessageChannel();
  unparsed = 0;  // bytes written and not parsed yet

  constructor(terminal) {
    this.#terminal = terminal;
    this.#turns.port1.onmessage = () => this.#feed();
  }

  // Whether the GPU draws: then output goes as pictures.
  set pictures(on) {
    this.showAll();
    this.#pictures = on;
  }

  write(bytes) {
    this.unparsed += bytes.length;
    if (!this.#pictures) {
      this.writeAfter(bytes, () => this.#parsed(bytes.length));
      return;
    }
    this.#held.push(bytes);
    this.#heldBytes += bytes.length;
    this.#next();
  }

  // Null while the program may go on, or a promise of the moment it may.
  room() {
    const full = this.#pictures
      ? this.#heldBytes >= Math.min(kMaxPictureBytes, Math.max(kMinPictureBytes, this.#bytesPerMs * kFrameMs))
      : this.unparsed > kHighMark;
    return full ? new Promise((resolve) => { this.#room = resolve; }) : null;
  }

  // Everything out at once: the program waits for a key, or has ended.
  showAll() {
    this.#handOver();
  }

  // What the page itself writes, or waits for, after all that went before.
  writeAfter(data, parsed) {
    if (this.#feeding) this.#give(data, parsed);
    else this.#terminal.write(data, parsed);
  }

  #resume() {
    if (!this.#room) return;
    const resume = this.#room;
    this.#room = null;
    resume();
  }

  #parsed(size) {
    this.unparsed -= size;
    if (this.unparsed <= kLowMark) this.#resume();
  }

  // The next picture when xterm.js is done with the last and its frame is due.
  #next() {
    if (this.#heldBytes === 0 || this.#timer || this.#inFlight > 0) return;
    const due = this.#pictureAt + kFrameMs - performance.now();
    if (due > 0) {
      this.#timer = setTimeout(() => {
        this.#timer = 0;
        this.#next();
      }, due);
      return;
    }
    this.#handOver();
  }

  #handOver() {
    clearTimeout(this.#timer);
    this.#timer = 0;
    if (this.#heldBytes === 0) return;
    const chunks = this.#held;
    const size = this.#heldBytes;
    this.#held = [];
    this.#heldBytes = 0;
    const began = performance.now();
    this.#pictureAt = began;
    ++this.#inFlight;
    this.#give(kHoldPicture);
    for (const chunk of chunks) {
      for (let at = 0; at < chunk.length; at += kPieceBytes) this.#give(chunk.subarray(at, at + kPieceBytes));
    }
    this.#give(kShowPicture, () => {
      const now = performance.now();
      this.#bytesPerMs = size / Math.max(1, now - Math.max(began, this.#parsedAt));
      this.#parsedAt = now;
      --this.#inFlight;
      this.unparsed -= size;
      this.#next();
    });
    this.#resume();
  }

  // A piece a turn: given more at once, xterm.js parses for 12 ms before a
  // tap gets its turn.
  #give(piece, parsed = null) {
    this.#pieces.push([piece, parsed]);
    if (this.#feeding) return;
    this.#feeding = true;
    this.#feed();
  }

  #feed() {
    const [piece, parsed] = this.#pieces.shift();
    this.#terminal.write(piece, () => {
      parsed?.();
      if (this.#pieces.length > 0) this.#turns.port2.postMessage(0);
      else this.#feeding = false;
    });
  }
}
