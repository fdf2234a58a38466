// Sequences as paths: value against step, on a logarithmic scale (linear on
// request, and always where a value is 0 or below), drawn by uPlot. The
// multiplication steps are red dots, the highest value is labelled with its
// step, and where a run meets a value again the loop from its first time
// there is shaded. A listing's sequences are drawn over each other.
import uPlot from 'uplot';

import { escaped, svgDocument } from './canvas.js';
import { grouped, kFocus, kFont, kMultiplication, kSeries, kText, kValue } from './colours.js';
import { isMultiplication, loopsOf, pathParity } from './model.js';

const kLoopShade = 'rgba(231, 72, 86, 0.22)';
// Dots on every multiplication only while they stay apart.
const kMostDotted = 40;

function compact(value) {
  if (Math.abs(value) < 1e6) return grouped(Math.round(value));
  return value.toExponential(0).replace('e+', 'e');
}

// `size`, the chart's first width and height: drawn once at its size, not
// drawn and then stretched.
export function pathsView(model, host, linear, [width, height]) {
  const { series } = model;
  const length = Math.max(1, ...series.map((points) => points.length));
  const positive = series.every((points) => points.every((point) => point.value > 0));
  const logarithmic = positive && !linear;
  const steps = Array.from({ length }, (_, i) => i);
  const data = [steps, ...series.map((points) => steps.map((i) => (i < points.length ? points[i].value : null)))];
  const loops = series.map(loopsOf);
  // The highest value of all, where it is first.
  let peak = { s: 0, i: 0 };
  series.forEach((points, s) => points.forEach((point, i) => {
    if (point.value > series[peak.s][peak.i]?.value) peak = { s, i };
  }));
  let focused = null;
  let hovered = null;
  const listeners = { hover: null, press: null };

  function decorate(u) {
    const { ctx } = u;
    const ratio = devicePixelRatio || 1;
    const at = (s, i) => [u.valToPos(i, 'x', true), u.valToPos(series[s][i].value, 'y', true)];
    ctx.save();
    ctx.fillStyle = kLoopShade;
    loops.forEach((list) => list.forEach(([first, last]) => {
      const left = u.valToPos(first, 'x', true);
      ctx.fillRect(left, u.bbox.top, u.valToPos(last, 'x', true) - left, u.bbox.height);
    }));
    ctx.font = `${11 * ratio}px ${kFont}`;
    ctx.textAlign = 'left';
    ctx.fillStyle = kValue;
    if (series[peak.s]?.length > 0) {
      const [px, py] = at(peak.s, peak.i);
      const label = `peak ${series[peak.s][peak.i].text} at step ${peak.i}`;
      const width = ctx.measureText(label).width;
      // Beside the peak, on the side with room, below it where it is at the top.
      const left = px + 8 * ratio + width <= u.bbox.left + u.bbox.width ? px + 8 * ratio : px - 8 * ratio - width;
      ctx.textBaseline = 'middle';
      ctx.fillText(label, Math.max(u.bbox.left, left), Math.max(py, u.bbox.top + 8 * ratio));
      ctx.beginPath();
      ctx.arc(px, py, 3.5 * ratio, 0, 2 * Math.PI);
      ctx.fill();
    }
    if (focused) {
      const [fx, fy] = at(focused.s, focused.i);
      ctx.strokeStyle = kFocus;
      ctx.lineWidth = 2 * ratio;
      ctx.beginPath();
      ctx.arc(fx, fy, 6 * ratio, 0, 2 * Math.PI);
      ctx.stroke();
    }
    ctx.restore();
  }

  const dotted = series.length <= kMostDotted;
  const options = {
    width,
    height,
    legend: { show: false },
    scales: { x: { time: false }, y: logarithmic ? { distr: 3, log: 10 } : { distr: 1 } },
    axes: [
      { stroke: kText, grid: { stroke: '#333333' }, ticks: { stroke: '#767676' }, label: 'step', labelSize: 18, font: `11px ${kFont}`, labelFont: `11px ${kFont}` },
      { stroke: kText, grid: { stroke: '#333333' }, ticks: { stroke: '#767676' }, size: 56, font: `11px ${kFont}`,
        values: (u, splits) => splits.map((v) => (v == null ? '' : compact(v))) },
    ],
    series: [{}, ...series.map((points, s) => ({
      stroke: series.length === 1 ? kValue : kSeries[s % kSeries.length],
      width: series.length > 100 ? 1 : 1.5,
      points: {
        show: false,
        size: 6,
        fill: kMultiplication,
        stroke: kMultiplication,
        filter: dotted ? () => points.flatMap((point, i) => (isMultiplication(point) ? [i] : [])) : null,
      },
    }))],
    cursor: { points: { show: false }, drag: { x: true, y: false } },
    hooks: {
      draw: [decorate],
      setCursor: [(u) => {
        const i = u.cursor.idx;
        if (i == null || u.cursor.top < 0) return;
        // The series nearest the pointer at that step.
        let best = null;
        let distance = Infinity;
        series.forEach((points, s) => {
          if (i >= points.length) return;
          const d = Math.abs(u.valToPos(points[i].value, 'y') - u.cursor.top);
          if (d < distance) {
            distance = d;
            best = { s, i };
          }
        });
        hovered = best;
        if (best) listeners.hover?.(best);
      }],
    },
  };
  const chart = new uPlot(options, data, host);
  chart.over.addEventListener('click', () => { if (hovered) listeners.press?.(hovered); });

  const name = model.kind === 'run'
    ? `Path of ${series[0][0]?.text ?? 'no value'}`
    : `Paths of the ${grouped(series.length)} sequences listed by ${model.form}`;

  return {
    element: chart.root,
    logarithmic,
    positive,
    listen: (which, callback) => { listeners[which] = callback; },
    resize: (width, height) => chart.setSize({ width, height }),
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
      chart.redraw(false, false);
    },
    hitAt: () => hovered,
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
    canvas: () => chart.ctx.canvas,
    values: () => series.map((points) => points.map((point) => point.text)),
    destroy: () => chart.destroy(),
  };
}
