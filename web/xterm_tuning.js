// Three habits of xterm.js 6 that cost a phone most of its time while a
// search's rows stream, changed from the page. Its version is pinned
// (package.json); where its inner parts are not as this version has them,
// the habit stays.
//
// - It brings its scroll bar up to date on every line that scrolls (a layout
//   of the bar, a timer set and cleared) and moves its hidden text field to
//   the cursor on every cursor move: once a frame is as often as anyone sees
//   either, and not while a picture is held (output.js), whose rows they then
//   follow.
// - Its DOM renderer redraws every row whenever the selection is brought up
//   to date, which is on every frame that scrolled, held picture or not,
//   with nothing selected before or after (a tap leaves a selection that
//   starts where it ends). Only a selection needs that.
//
// And one habit that costs a reader their place: after a change of the text
// size or of the columns it keeps its scroll bar's position in pixels, which
// at the new cell height is some other line, often a hundred lines up; the
// next turn of the wheel or swipe scrolls from there. It is set from the
// line in view instead, as xterm.js does when it changes buffers.

// A function that has `work` done in the next frame that shows no held
// picture, once however often it is called before.
function inShownFrame(terminal, work) {
  let queued = false;
  const run = () => {
    if (terminal.modes.synchronizedOutputMode) {
      requestAnimationFrame(run);
      return;
    }
    queued = false;
    work();
  };
  return () => {
    if (queued) return;
    queued = true;
    requestAnimationFrame(run);
  };
}

function syncScrollBarPerFrame(terminal) {
  const viewport = terminal._core._viewport;
  const sync = viewport?._sync;
  if (typeof sync !== 'function') return;
  let scrolled = false;  // a line scrolled since the last sync
  // Bare, it follows the rows; else it keeps the line last scrolled to.
  const syncLater = inShownFrame(terminal, () => {
    if (scrolled) sync.call(viewport);
    else sync.call(viewport, viewport._latestYDisp);
    scrolled = false;
  });
  // Called bare for each scrolled line, and a frame at a time with the line
  // last scrolled to.
  viewport._sync = function syncOncePerFrame(...line) {
    if (line.length > 0 && !scrolled && !terminal.modes.synchronizedOutputMode) {
      sync.apply(this, line);
      return;
    }
    if (line.length === 0) scrolled = true;
    syncLater();
  };
}

function moveTextFieldPerFrame(terminal) {
  const core = terminal._core;
  const move = core._syncTextArea;
  if (typeof move === 'function') core._syncTextArea = inShownFrame(terminal, () => move.call(core));
}

const isEmpty = (start, end) => !start || !end || (start[0] === end[0] && start[1] === end[1]);

function redrawSelectionOnlyIfAny(terminal) {
  const renderService = terminal._core._renderService;
  const redraw = renderService?.handleSelectionChanged;
  if (typeof redraw !== 'function' || !renderService._selectionState) return;
  renderService.handleSelectionChanged = function redrawIfSelected(start, end, ...rest) {
    const was = this._selectionState;
    if (isEmpty(start, end) && isEmpty(was.start, was.end)) return;
    redraw.call(this, start, end, ...rest);
  };
}

function placeScrollBarAfterResize(terminal) {
  const viewport = terminal._core._viewport;
  const dimensions = terminal._core._renderService?.onDimensionsChange;
  if (typeof viewport?.queueSync !== 'function' || typeof dimensions !== 'function') return;
  const place = () => {
    viewport._latestYDisp = undefined;
    viewport.queueSync();
  };
  dimensions(place);
  terminal.onResize(place);
}

// For a terminal that is open.
export function tuneTerminal(terminal) {
  if (!terminal._core) return;
  syncScrollBarPerFrame(terminal);
  moveTextFieldPerFrame(terminal);
  redrawSelectionOnlyIfAny(terminal);
  placeScrollBarAfterResize(terminal);
}
