// Sequences as paths: value against step, on a logarithmic scale (linear on
// request, and always where a value is 0 or below). The multiplication steps
// are red dots, the highest value is labelled with its step, and where a run
// meets a value again the loop from its first time there is shaded. A
// listing's sequences are drawn over each other. Drawn on the pictures'
// canvas, only the steps in view; d3-zoom stretches and moves the steps
// (wheel, drag, pinch), and the values' scale follows the steps in view.
import { select } from 'd3-selection';
import { zoom, zoomIdentity } from 'd3-zoom';

import { canvasIn, escaped, svgDocument } from './canvas.js';
import { grouped, kFocus, kFont, kMultiplication, kSeries, kText, kValue } from './colours.js';
import { isMultiplication, loopsOf, pathParity } from './model.js';

const kLoopShade = 'rgba(231, 72, 86, 0.22)';
const kGrid = '#333333';
const kTick = '#767676';
// Dots on every multiplication only while they stay apart.
const kMostDotted = 40;
// The plot's margins: the values at the left, the steps and "step" below.
const kLeft = 56;
const kRight = 12;
const kTop = 10;
const kBottom = 36;
// Zoomed in as far as this many steps across.
const kFewestSteps = 8;

// Grouped digits below a million, then 1e6, 2e7, 1.5e8: as short as exact.
function compact(value) {
  if (Math.abs(value) < 1e6) return grouped(Math.round(value));
  return Number(value.toPrecision(3)).toExponential().replace('e+', 'e');
}

// Ticks at 1, 2 or 5 times a power of ten, at least `least` apart, and far
// enough apart for a double to tell them apart however large the values.
function linearTicks(low, high, pixels, least) {
  const raw = Math.max(((high - low) * least) / Math.max(1, pixels), Math.max(Math.abs(low), Math.abs(high)) * 1e-12);
  const power = 10 ** Math.floor(Math.log10(Math.max(raw, 1e-300)));
  const step = Math.max(1, [1, 2, 5, 10].map((m) => m * power).find((s) => s >= raw));
  const ticks = [];
  const first = Math.ceil(low / step) * step;
  for (let n = 0; n <= pixels && first + n * step <= high; ++n) ticks.push(first + n * step);
  return { step, ticks };
}

// The powers of ten in range; where they are fewer than three, their 2 and 5
// multiples too, then every multiple.
function logTicks(low, high) {
  let ticks = [];
  for (const multiples of [[1], [1, 2, 5], [1, 2, 3, 4, 5, 6, 7, 8, 9]]) {
    ticks = [];
    for (let p = Math.floor(low); p <= Math.ceil(high); ++p) {
      for (const m of multiples) {
        const v = m * 10 ** p;
        const at = Math.log10(v);
        if (at >= low - 1e-9 && at <= high + 1e-9) ticks.push(v);
      }
    }
    if (ticks.length >= 3) break;
  }
  return ticks;
}

// `size`, the picture's first width and height: drawn once at its size.
export function pathsView(model, host, linear, [width, height]) {
  const { series } = model;
  const length = Math.max(1, ...series.map((points) => points.length));
  const last = Math.max(1, length - 1);
  const positive = series.every((points) => points.every((point) => point.value > 0));
  const logarithmic = positive && !linear;
  // Each value as the scale places it, and each step's kind, as every frame reads them.
  const heights = series.map((points) => Float64Array.from(points, (point) => (logarithmic ? Math.log10(point.value) : point.value)));
  const multiplied = series.map((points) => Uint8Array.from(points, (point) => (isMultiplication(point) ? 1 : 0)));
  const loops = series.map(loopsOf);
  // The highest value of all, where it is first.
  let peak = { s: 0, i: 0 };
  series.forEach((points, s) => points.forEach((point, i) => {
    if (point.value > series[peak.s][peak.i]?.value) peak = { s, i };
  }));
  const dotted = series.length <= kMostDotted;
  let focused = null;
  let hovered = null;
  let transform = zoomIdentity;
  const listeners = { hover: null, press: null };

  // Where the steps in view and their values fall in a picture of this size.
  function frame(width, height) {
    const box = { left: kLeft, top: kTop, right: Math.max(kLeft + 1, width - kRight), bottom: Math.max(kTop + 1, height - kBottom) };
    const span = box.right - box.left;
    const across = (transform.k * span) / last;
    const origin = transform.x + transform.k * box.left;
    const stepAt = (px) => (px - origin) / across;
    const first = Math.max(0, Math.floor(stepAt(box.left)));
    const final = Math.min(length - 1, Math.ceil(stepAt(box.right)));
    let low = Infinity;
    let high = -Infinity;
    for (const h of heights) {
      for (let i = first, end = Math.min(final, h.length - 1); i <= end; ++i) {
        if (h[i] < low) low = h[i];
        if (h[i] > high) high = h[i];
      }
    }
    if (low > high) [low, high] = [0, 1];
    let ticks;
    if (logarithmic) {
      // Whole powers of ten at the ends.
      low = Math.floor(low);
      high = Math.max(low + 1, Math.ceil(high));
      ticks = logTicks(low, high).map((v) => [Math.log10(v), v]);
    } else {
      const { step } = linearTicks(low, high, box.bottom - box.top, 30);
      low = Math.floor(low / step) * step;
      high = Math.max(low + step, Math.ceil(high / step) * step);
      ticks = linearTicks(low, high, box.bottom - box.top, 30).ticks.map((v) => [v, v]);
    }
    const down = (box.bottom - box.top) / (high - low);
    return {
      box, first, final, ticks, stepAt,
      x: (i) => origin + across * i,
      y: (h) => box.bottom - (h - low) * down,
    };
  }

  function axes(context, f, width, height) {
    const { box } = f;
    const steps = linearTicks(Math.max(0, f.stepAt(box.left)), Math.min(last, f.stepAt(box.right)), box.right - box.left, 60).ticks;
    // The values' ticks at least a line apart.
    const spacing = Math.abs(f.y(f.ticks[0]?.[0] ?? 0) - f.y(f.ticks[1]?.[0] ?? 1));
    const values = f.ticks.filter((_, n) => n % Math.max(1, Math.ceil(14 / Math.max(1, spacing))) === 0);
    const grid = new Path2D();
    const marks = new Path2D();
    for (const i of steps) {
      const at = Math.round(f.x(i)) + 0.5;
      grid.moveTo(at, box.top);
      grid.lineTo(at, box.bottom);
      marks.moveTo(at, box.bottom);
      marks.lineTo(at, box.bottom + 4);
    }
    for (const [h] of values) {
      const at = Math.round(f.y(h)) + 0.5;
      grid.moveTo(box.left, at);
      grid.lineTo(box.right, at);
      marks.moveTo(box.left - 4, at);
      marks.lineTo(box.left, at);
    }
    context.lineWidth = 1;
    context.strokeStyle = kGrid;
    context.stroke(grid);
    context.strokeStyle = kTick;
    context.stroke(marks);
    context.font = `11px ${kFont}`;
    context.fillStyle = kText;
    context.textAlign = 'center';
    context.textBaseline = 'top';
    for (const i of steps) context.fillText(String(i), f.x(i), box.bottom + 6);
    context.textBaseline = 'bottom';
    context.fillText('step', (box.left + box.right) / 2, height - 2);
    context.textAlign = 'right';
    context.textBaseline = 'middle';
    for (const [h, v] of values) context.fillText(compact(v), box.left - 6, f.y(h));
  }

  function draw(context, width, height) {
    const f = frame(width, height);
    const { box } = f;
    axes(context, f, width, height);
    context.save();
    // The dots and the focus ring a little past the plot's edges.
    context.beginPath();
    context.rect(box.left - 7, box.top - 7, box.right - box.left + 14, box.bottom - box.top + 14);
    context.clip();
    context.fillStyle = kLoopShade;
    loops.forEach((list) => list.forEach(([first, at]) => {
      const left = Math.max(box.left, f.x(first));
      const right = Math.min(box.right, f.x(at));
      if (right > left) context.fillRect(left, box.top, right - left, box.bottom - box.top);
    }));
    context.lineWidth = series.length > 100 ? 1 : 1.5;
    context.lineJoin = 'round';
    const dots = new Path2D();
    heights.forEach((h, s) => {
      const end = Math.min(f.final, h.length - 1);
      if (end < f.first) return;
      // A point on the pixel of the one before it adds nothing.
      context.beginPath();
      let lastX = NaN;
      let lastY = NaN;
      for (let i = f.first; i <= end; ++i) {
        const px = f.x(i);
        const py = f.y(h[i]);
        if (dotted && multiplied[s][i] === 1) {
          dots.moveTo(px + 3, py);
          dots.arc(px, py, 3, 0, 2 * Math.PI);
        }
        const rx = Math.round(px);
        const ry = Math.round(py);
        if (rx === lastX && ry === lastY && i !== end) continue;
        lastX = rx;
        lastY = ry;
        if (i === f.first) context.moveTo(px, py);
        else context.lineTo(px, py);
      }
      context.strokeStyle = series.length === 1 ? kValue : kSeries[s % kSeries.length];
      context.stroke();
    });
    context.fillStyle = kMultiplication;
    context.fill(dots);
    const top = series[peak.s]?.[peak.i];
    if (top && peak.i >= f.first && peak.i <= f.final) {
      const px = f.x(peak.i);
      const py = f.y(heights[peak.s][peak.i]);
      const label = `peak ${top.text} at step ${peak.i}`;
      context.font = `11px ${kFont}`;
      context.textAlign = 'left';
      context.textBaseline = 'middle';
      context.fillStyle = kValue;
      const width = context.measureText(label).width;
      // Beside the peak, on the side with room, below it where it is at the top.
      const left = px + 8 + width <= box.right ? px + 8 : px - 8 - width;
      context.fillText(label, Math.max(box.left, left), Math.max(py, box.top + 8));
      context.beginPath();
      context.arc(px, py, 3.5, 0, 2 * Math.PI);
      context.fill();
    }
    if (focused) {
      context.strokeStyle = kFocus;
      context.lineWidth = 2;
      context.beginPath();
      context.arc(f.x(focused.i), f.y(heights[focused.s][focused.i]), 6, 0, 2 * Math.PI);
      context.stroke();
    }
    context.restore();
  }

  // The nearest step to the pointer, then the series nearest it at that step.
  function hitAt(px, py) {
    const f = frame(...ground.size());
    const { box } = f;
    if (px < box.left - 8 || px > box.right + 8 || py < box.top - 8 || py > box.bottom + 8) return null;
    const i = Math.min(length - 1, Math.max(0, Math.round(f.stepAt(px))));
    let best = null;
    let distance = Infinity;
    heights.forEach((h, s) => {
      if (i >= h.length) return;
      const d = Math.abs(f.y(h[i]) - py);
      if (d < distance) {
        distance = d;
        best = { s, i };
      }
    });
    return best;
  }

  // The steps stay over the plot: its left end no further right than its
  // left edge, its right end no further left than its right edge.
  function bounded(t, width = ground.size()[0]) {
    const right = Math.max(kLeft + 1, width - kRight);
    return zoomIdentity.translate(Math.min((1 - t.k) * kLeft, Math.max((1 - t.k) * right, t.x)), 0).scale(t.k);
  }

  const ground = canvasIn(host, draw);
  const behaviour = zoom()
    .scaleExtent([1, Math.max(1, last / kFewestSteps)])
    .clickDistance(4)
    .constrain((t) => bounded(t))
    // A path draws as fast while it moves: the canvas need not know.
    .on('zoom', (event) => {
      transform = event.transform;
      ground.redraw();
    });
  select(ground.canvas).call(behaviour).on('dblclick.zoom', null);
  ground.resize(width, height);

  const pointed = (event) => {
    const box = ground.canvas.getBoundingClientRect();
    return hitAt(event.clientX - box.left, event.clientY - box.top);
  };
  ground.canvas.addEventListener('pointermove', (event) => {
    if (event.pointerType !== 'mouse' || event.buttons !== 0) return;
    const next = pointed(event);
    if (!next || (hovered && next.s === hovered.s && next.i === hovered.i)) return;
    hovered = next;
    listeners.hover?.(next);
  });
  ground.canvas.addEventListener('click', (event) => {
    const next = pointed(event);
    if (next) listeners.press?.(next);
  });

  // Brings a step into view, centred as far as the path's ends allow.
  function reveal(i) {
    const f = frame(...ground.size());
    const at = f.x(i);
    if (at >= f.box.left - 0.5 && at <= f.box.right + 0.5) return;
    const shifted = zoomIdentity.translate(transform.x + (f.box.left + f.box.right) / 2 - at, 0).scale(transform.k);
    select(ground.canvas).call(behaviour.transform, bounded(shifted));
  }

  const name = model.kind === 'run'
    ? `Path of ${series[0][0]?.text ?? 'no value'}`
    : `Paths of the ${grouped(series.length)} sequences listed by ${model.form}`;

  return {
    element: ground.canvas,
    logarithmic,
    positive,
    listen: (which, callback) => { listeners[which] = callback; },
    resize(width, height) {
      const [before] = ground.size();
      if (before !== width) {
        // The same steps in view at the new width.
        const span = (w) => Math.max(1, w - kRight - kLeft);
        const from = (transform.invertX(kLeft) - kLeft) / span(before);
        transform = bounded(zoomIdentity.translate(kLeft - transform.k * (kLeft + from * span(width)), 0).scale(transform.k), width);
        // d3-zoom keeps its transform on the element: the next gesture starts there.
        select(ground.canvas).property('__zoom', transform);
      }
      ground.resize(width, height);
    },
    summary() {
      const points = series[0] ?? [];
      const top = series[peak.s]?.[peak.i];
      const parts = [`${name} (${model.variant}${model.compressed ? ', compressed steps' : ''}), value against step on a ${logarithmic ? 'logarithmic' : 'linear'} scale`];
      if (model.kind === 'run') {
        const last = points.at(-1);
        parts.push(`${grouped(points.length - 1)} steps to ${last?.text}`);
        parts.push(`${points.filter(isMultiplication).length} multiplications`);
        if (model.before.length > 0) parts.push(`shown before it: ${model.before.map((point) => point.text).join(', ')}`);
        for (const [first, at] of loops[0]) parts.push(`${points[at].text} again at step ${at}, first at step ${first}: a loop`);
      }
      if (top) parts.push(`peak ${top.text} at step ${peak.i}`);
      return `${parts.join('; ')}.`;
    },
    first: () => (series.length > 0 && series[0].length > 0 ? { s: 0, i: 0 } : null),
    move(item, key) {
      const { s, i } = item;
      switch (key) {
        case 'ArrowLeft': return { s, i: Math.max(0, i - 1) };
        case 'ArrowRight': return { s, i: Math.min(series[s].length - 1, i + 1) };
        case 'ArrowUp': return s > 0 ? { s: s - 1, i: Math.min(i, series[s - 1].length - 1) } : item;
        case 'ArrowDown': return s + 1 < series.length ? { s: s + 1, i: Math.min(i, series[s + 1].length - 1) } : item;
        case 'Home': return { s, i: 0 };
        case 'End': return { s, i: series[s].length - 1 };
        case 'PageUp': return { s, i: Math.max(0, i - 10) };
        case 'PageDown': return { s, i: Math.min(series[s].length - 1, i + 10) };
        default: return null;
      }
    },
    describe({ s, i }) {
      const point = series[s][i];
      const facts = [`step ${i}`];
      if (model.kind === 'listing') facts.push(`row ${model.rows[s].index} (start ${model.rows[s].start})`);
      if (i > 0) facts.push(isMultiplication(point) ? 'by a multiplication' : 'by a halving');
      if (point.kind === 'r') facts.push('met before: the run ends here');
      if (point.kind === 'x') facts.push('after a random odd value');
      if (s === peak.s && i === peak.i) facts.push('the peak');
      facts.push(`parity to the end: ${pathParity(series[s], i) || 'none'}`);
      return { number: point.text, facts };
    },
    focus(item) {
      focused = item;
      if (item) reveal(item.i);
      ground.redraw();
    },
    hitAt,
    svg() {
      const width = 960;
      const height = 540;
      const box = { left: 70, top: 20, width: width - 90, height: height - 60 };
      const values = series.flat().map((point) => point.value);
      const scale = (v) => (logarithmic ? Math.log10(v) : v);
      const low = scale(Math.min(...values));
      const high = Math.max(low + 1e-9, scale(Math.max(...values)));
      const sx = (i) => (box.left + (i / Math.max(1, length - 1)) * box.width).toFixed(1);
      const sy = (v) => (box.top + (1 - (scale(v) - low) / (high - low)) * box.height).toFixed(1);
      let body = '';
      loops.forEach((list) => list.forEach(([first, last]) => {
        body += `<rect x="${sx(first)}" y="${box.top}" width="${(sx(last) - sx(first)).toFixed(1)}" height="${box.height}" fill="${kLoopShade}"/>`;
      }));
      series.forEach((points, s) => {
        const colour = series.length === 1 ? kValue : kSeries[s % kSeries.length];
        body += `<polyline fill="none" stroke="${colour}" stroke-width="1.5" points="${points.map((point, i) => `${sx(i)},${sy(point.value)}`).join(' ')}"/>`;
        if (dotted) {
          points.forEach((point, i) => {
            if (isMultiplication(point)) body += `<circle cx="${sx(i)}" cy="${sy(point.value)}" r="3" fill="${kMultiplication}"/>`;
          });
        }
      });
      const top = series[peak.s]?.[peak.i];
      const text = (tx, ty, t, anchor = 'start') => `<text x="${tx}" y="${ty}" text-anchor="${anchor}">${escaped(t)}</text>`;
      body += `<g fill="${kText}" font-family="${escaped(kFont)}" font-size="11">`;
      if (top) body += text(Number(sx(peak.i)) + 5, Number(sy(top.value)) - 4, `peak ${top.text} at step ${peak.i}`);
      body += text(box.left, height - 20, '0') + text(box.left + box.width, height - 20, String(length - 1), 'end')
        + text(box.left + box.width / 2, height - 6, 'step', 'middle')
        + text(box.left - 6, box.top + 4, compact(logarithmic ? 10 ** high : high), 'end')
        + text(box.left - 6, box.top + box.height, compact(logarithmic ? 10 ** low : low), 'end');
      return svgDocument(width, height, this.summary(), `${body}</g>`);
    },
    canvas: () => ground.canvas,
    values: () => series.map((points) => points.map((point) => point.text)),
    destroy() {
      select(ground.canvas).on('.zoom', null);
      ground.canvas.remove();
    },
  };
}
