// A canvas that fills its box at the screen's pixel density and draws once a
// frame however often it is asked to: the ground of the tree and the spread.
// While it moves it may draw at one pixel a point (`moving`): a phone's
// screen has up to nine times as many, too many to fill 30 times a second.
export function canvasIn(host, draw) {
  const canvas = document.createElement('canvas');
  canvas.className = 'picture-canvas';
  host.append(canvas);
  const context = canvas.getContext('2d');
  let width = 0;
  let height = 0;
  let queued = false;
  let coarse = false;
  const ratio = () => (coarse ? 1 : devicePixelRatio || 1);

  function drawNow() {
    queued = false;
    context.setTransform(ratio(), 0, 0, ratio(), 0, 0);
    context.clearRect(0, 0, width, height);
    if (width > 0 && height > 0) draw(context, width, height);
  }

  function resize(w, h) {
    width = w;
    height = h;
    canvas.width = Math.max(1, Math.round(w * ratio()));
    canvas.height = Math.max(1, Math.round(h * ratio()));
    canvas.style.width = `${w}px`;
    canvas.style.height = `${h}px`;
    drawNow();
  }

  return {
    canvas,
    size: () => [width, height],
    resize,
    redraw() {
      if (queued) return;
      queued = true;
      requestAnimationFrame(drawNow);
    },
    moving(now) {
      if (now === coarse) return;
      coarse = now;
      if ((devicePixelRatio || 1) > 1) resize(width, height);
    },
    drawNow,
  };
}

// Text for an SVG file, escaped.
export function escaped(text) {
  return String(text).replace(/[&<>"]/g, (c) => ({ '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' })[c]);
}

export function svgDocument(width, height, title, body) {
  return `<svg xmlns="http://www.w3.org/2000/svg" width="${width}" height="${height}" viewBox="0 0 ${width} ${height}">`
    + `<title>${escaped(title)}</title><rect width="100%" height="100%" fill="#000"/>${body}</svg>\n`;
}
