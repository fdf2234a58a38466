// A canvas that fills its box and draws once a frame however often it is
// asked to: the ground of the pictures. It draws at the screen's pixel
// density up to two pixels a point: a phone's three would make each canvas
// 2.25 times as many pixels, its first clear alone 100 ms or more on a
// mid-range phone, for lines the eye cannot tell apart. `draw` learns whether
// a gesture moves the picture (`moving`), so that it can draw faster then.
const kMostRatio = 2;

function pixelRatio() {
  return Math.min(kMostRatio, devicePixelRatio || 1);
}

export function canvasIn(host, draw) {
  const canvas = document.createElement('canvas');
  canvas.className = 'picture-canvas';
  host.append(canvas);
  const context = canvas.getContext('2d');
  let width = 0;
  let height = 0;
  let ratio = pixelRatio();
  let queued = false;
  let moving = false;

  function drawNow() {
    queued = false;
    context.setTransform(ratio, 0, 0, ratio, 0, 0);
    context.clearRect(0, 0, width, height);
    if (width > 0 && height > 0) draw(context, width, height, moving);
  }

  function resize(w, h) {
    // A size observer tells the first size again after the view drew at it.
    if (w === width && h === height && ratio === pixelRatio()) return;
    ratio = pixelRatio();
    const pixels = [Math.max(1, Math.round(w * ratio)), Math.max(1, Math.round(h * ratio))];
    // Setting a canvas's size clears it and makes it anew, even to the same size.
    if (canvas.width !== pixels[0]) canvas.width = pixels[0];
    if (canvas.height !== pixels[1]) canvas.height = pixels[1];
    width = w;
    height = h;
    canvas.style.width = `${w}px`;
    canvas.style.height = `${h}px`;
    drawNow();
  }

  function redraw() {
    if (queued) return;
    queued = true;
    requestAnimationFrame(drawNow);
  }

  return {
    canvas,
    size: () => [width, height],
    resize,
    redraw,
    moving(now) {
      if (now === moving) return;
      moving = now;
      redraw();
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
