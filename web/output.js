// How the program's output reaches xterm.js.
//
// On a touch screen (a phone's or a tablet's processor), as pictures: while
// rows come faster than anyone reads them, xterm.js takes in what came since
// the last picture and draws it as one (its synchronised output), at most
// every kFrameMs, in pieces handed over one a turn, so that the page
// answers a tap between any two of them. A picture holds about what
// xterm.js parses in that time; the program fills the next one meanwhile and
// waits when it is full, so it stays a picture or two ahead of the screen,
// and a key pressed during a search stops it near the rows in view.
//
// Elsewhere it gets the program's writes as they come, and the program waits
// only when xterm.js falls far behind.
//
// Either way a change of the terminal's size goes in between the program's
// writes, never into one (betweenWrites): what the program drew for one
// width is parsed at that width, and what it draws next for the new one.
const kFrameMs = 100;
const kHoldPicture = '\x1b[?2026h';
const kShowPicture = '\x1b[?2026l';
const kPieceBytes = 4096;
const kMinPictureBytes = 8 * 1024;
const kMaxPictureBytes = 512 * 1024;
// Not parsed yet, where output is not in pictures: above the high mark the
// program waits until xterm.js is down to the low mark.
const kHighMark = 512 * 1024;
const kLowMark = 64 * 1024;

// A turn of the page's own, without the 4 ms that timers wait once nested:
// each callback runs in a task of its own, in the order given.
const turns = new MessageChannel();
const waitingForTurns = [];
turns.port1.onmessage = () => waitingForTurns.shift()();

export function nextTurn(callback) {
  waitingForTurns.push(callback);
  turns.port2.postMessage(0);
}

export class Output {
  #terminal;
  #pictures = false;
  #held = [];  // output for the next picture
  #heldBytes = 0;
  #inFlight = 0;  // pictures handed to xterm.js and not parsed yet
  #pictureAt = -Infinity;  // when the last picture was handed over
  #bytesPerMs = 256;  // how fast xterm.js parses, a guess until it has
  #parseMs = 0;  // spent parsing the picture's pieces so far
  #timer = 0;
  #room = null;  // the program's wait for room
  #pieces = [];  // of pictures, for xterm.js, each with what follows its parsing
  #feeding = false;
  #writing = 0;  // writes handed to xterm.js and not parsed yet, the page's too
  #between = [];  // work that waits until xterm.js has parsed all it got
  unparsed = 0;  // bytes the program wrote and xterm.js has not parsed yet

  constructor(terminal) {
    this.#terminal = terminal;
  }

  // On a touch screen, once the start table is drawn: output goes as pictures.
  usePictures() {
    this.showAll();
    this.#pictures = true;
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
    return full || this.#between.length > 0 ? new Promise((resolve) => { this.#room = resolve; }) : null;
  }

  // `work` runs once xterm.js has parsed everything it was given, at once if
  // it has: what is held goes out now, and the program waits at its next turn
  // until the work is done.
  betweenWrites(work) {
    this.#between.push(work);
    this.#handOver();
    this.#settle();
  }

  // Everything out at once: the program waits for a key, or has ended.
  showAll() {
    this.#handOver();
  }

  // What the page itself writes, or waits for, after all that went before.
  writeAfter(data, parsed) {
    if (this.#feeding) this.#give(data, parsed);
    else this.#write(data, parsed);
  }

  #write(data, parsed) {
    ++this.#writing;
    this.#terminal.write(data, () => {
      --this.#writing;
      parsed?.();
      this.#settle();
    });
  }

  #settle() {
    if (this.#between.length === 0) return;
    // One at a time: a work may write, and the next waits for that too.
    while (this.#between.length > 0 && this.#writing === 0 && this.#pieces.length === 0 && this.#heldBytes === 0) {
      this.#between.shift()();
    }
    if (this.#between.length === 0) this.#resume();
  }

  #resume() {
    if (!this.#room || this.#between.length > 0) return;
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
    if (this.#heldBytes === 0) return;
    if (this.#between.length > 0) {
      this.#handOver();
      return;
    }
    if (this.#timer || this.#inFlight > 0) return;
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
    this.#pictureAt = performance.now();
    ++this.#inFlight;
    this.#give(kHoldPicture);
    for (const chunk of chunks) {
      for (let at = 0; at < chunk.length; at += kPieceBytes) this.#give(chunk.subarray(at, at + kPieceBytes));
    }
    this.#give(kShowPicture, () => {
      // Only the parsing counts: frames drawn and taps answered between the
      // pieces would make the next picture smaller, and it would take as long.
      this.#bytesPerMs = size / Math.max(1, this.#parseMs);
      this.#parseMs = 0;
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
    const fed = performance.now();
    this.#write(piece, () => {
      this.#parseMs += performance.now() - fed;
      parsed?.();
      if (this.#pieces.length > 0) nextTurn(() => this.#feed());
      else this.#feeding = false;
    });
  }
}
