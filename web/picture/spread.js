// A search's start numbers spread over their multiplications: one column per
// m, each start number a dot at its height on a logarithmic scale, the
// column's dots from the smallest to the largest across it, its count above.
import { canvasIn, escaped, svgDocument } from './canvas.js';
import { grouped, kFocus, kFont, kStart, kText } from './colours.js';

const kTop = 32;
const kBottom = 24;
const kLeft = 46;
const kRight = 10;

export function spreadView(model, host) {
  const { rows } = model;
  const ms = [];
  for (let m = model.minM; m <= model.maxM; ++m) ms.push(m);
  // The rows of each m, smallest start first.
  const columns = ms.map((m) => rows.map((row, i) => i).filter((i) => rows[i].multiplications === m)
    .sort((a, b) => Number(rows[a].start) - Number(rows[b].start)));
  const logs = rows.map((row) => Math.log10(Number(row.start)));
  const low = logs.length > 0 ? Math.floor(Math.min(...logs)) : 0;
  const high = Math.max(low + 1, logs.length > 0 ? Math.ceil(Math.max(...logs)) : 1);
  let focused = -1;

  function place(width, height) {
    const step = (width - kLeft - kRight) / Math.max(1, ms.length);
    const spots = new Float64Array(rows.length * 2);
    columns.forEach((column, c) => {
      column.forEach((i, rank) => {
        const across = column.length > 1 ? rank / (column.length - 1) - 0.5 : 0;
        spots[2 * i] = kLeft + step * (c + 0.5 + across * 0.7);
        spots[2 * i + 1] = kTop + (1 - (logs[i] - low) / (high - low)) * (height - kTop - kBottom);
      });
    });
    return { step, spots };
  }

  function drawOn(context, width, height) {
    const { step, spots } = place(width, height);
    context.font = `11px ${kFont}`;
    context.fillStyle = kText;
    context.strokeStyle = '#767676';
    context.lineWidth = 1;
    context.textBaseline = 'middle';
    context.beginPath();
    for (let p = low; p <= high; ++p) {
      const at = kTop + (1 - (p - low) / (high - low)) * (height - kTop - kBottom);
      context.moveTo(kLeft - 4, at);
      context.lineTo(kLeft, at);
      context.fillText(`1e${p}`, 4, at);
    }
    context.stroke();
    context.textAlign = 'center';
    // The counts in two staggered lines where a column is narrower than they are.
    const widest = Math.max(...columns.map((column) => context.measureText(grouped(column.length)).width));
    const staggered = widest + 4 > step;
    columns.forEach((column, c) => {
      const centre = kLeft + step * (c + 0.5);
      context.fillText(grouped(column.length), centre, staggered && c % 2 === 1 ? kTop - 6 : 6);
      context.fillText(String(ms[c]), centre, height - kBottom / 2);
    });
    context.textAlign = 'start';
    context.fillText('m', 4, height - kBottom / 2);
    context.fillText('count', 4, 6);
    context.fillStyle = kStart;
    const size = rows.length > 2000 ? 2 : 3;
    for (let i = 0; i < rows.length; ++i) context.fillRect(spots[2 * i] - size / 2, spots[2 * i + 1] - size / 2, size, size);
    if (focused >= 0) {
      context.strokeStyle = kFocus;
      context.lineWidth = 2;
      context.beginPath();
      context.arc(spots[2 * focused], spots[2 * focused + 1], 6, 0, 2 * Math.PI);
      context.stroke();
    }
  }

  const ground = canvasIn(host, drawOn);
  const columnOf = (i) => ms.indexOf(rows[i].multiplications);

  return {
    element: ground.canvas,
    resize: (width, height) => ground.resize(width, height),
    summary: () => `Spread of the ${grouped(rows.length)} start numbers of 2^${model.exponent} (${model.variant}`
      + `${model.compressed ? ', compressed steps' : ''}) over their multiplications m, on a logarithmic scale; `
      + `start numbers for each m: ${columns.map((column, c) => `${ms[c]}: ${grouped(column.length)}`).join(', ')}.`,
    first: () => (rows.length > 0 ? 0 : null),
    // Left and Right: the column beside, at the same place in it; Up and
    // Down: the next larger or smaller start number with the same m.
    move(i, key) {
      const c = columnOf(i);
      const column = columns[c];
      const at = column.indexOf(i);
      const across = (to) => {
        const other = columns[to];
        if (!other || other.length === 0) return i;
        return other[Math.round((column.length > 1 ? at / (column.length - 1) : 0) * (other.length - 1))];
      };
      switch (key) {
        case 'ArrowLeft': return c > 0 ? across(c - 1) : i;
        case 'ArrowRight': return c + 1 < columns.length ? across(c + 1) : i;
        case 'ArrowUp': return column[Math.min(column.length - 1, at + 1)];
        case 'ArrowDown': return column[Math.max(0, at - 1)];
        case 'Home': return column[0];
        case 'End': return column.at(-1);
        default: return null;
      }
    },
    describe(i) {
      const row = rows[i];
      const column = columns[columnOf(i)];
      return {
        number: row.start,
        facts: [`m ${row.multiplications} (${grouped(column.indexOf(i) + 1)} of ${grouped(column.length)})`,
          `row ${grouped(i + 1)}`, `parity to 1: ${row.parity}`],
      };
    },
    focus(i) {
      focused = i ?? -1;
      ground.redraw();
    },
    hitAt(px, py) {
      const [width, height] = ground.size();
      const { step, spots } = place(width, height);
      const c = Math.floor((px - kLeft) / step);
      if (c < 0 || c >= columns.length) return null;
      let best = null;
      let distance = 144;
      for (const i of columns[c]) {
        const d = (spots[2 * i] - px) ** 2 + (spots[2 * i + 1] - py) ** 2;
        if (d < distance) {
          distance = d;
          best = i;
        }
      }
      return best;
    },
    svg() {
      const width = 960;
      const height = 640;
      const { step, spots } = place(width, height);
      let body = `<g fill="${kText}" font-family="${escaped(kFont)}" font-size="11" text-anchor="middle">`;
      columns.forEach((column, c) => {
        const centre = (kLeft + step * (c + 0.5)).toFixed(1);
        body += `<text x="${centre}" y="${kTop / 2 + 4}">${grouped(column.length)}</text>`
          + `<text x="${centre}" y="${height - kBottom / 2 + 4}">${ms[c]}</text>`;
      });
      for (let p = low; p <= high; ++p) {
        const at = kTop + (1 - (p - low) / (high - low)) * (height - kTop - kBottom);
        body += `<text x="20" y="${(at + 4).toFixed(1)}">1e${p}</text>`;
      }
      body += `</g><g fill="${kStart}">`;
      for (let i = 0; i < rows.length; ++i) {
        body += `<rect x="${(spots[2 * i] - 1.5).toFixed(1)}" y="${(spots[2 * i + 1] - 1.5).toFixed(1)}" width="3" height="3"/>`;
      }
      return svgDocument(width, height, this.summary(), `${body}</g>`);
    },
    canvas: () => ground.canvas,
    destroy() {
      ground.canvas.remove();
    },
  };
}
