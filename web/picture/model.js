// The lines the program told (control.js keeps them; their kinds are listed
// in pictures/picture_records.hpp) read into what the views draw. Nothing
// here computes a value: every number is the program's.

// The CSV lines ("c,...") as the file to take away.
function csvOf(lines) {
  let text = '';
  for (const line of lines) if (line.startsWith('c,')) text += `${line.slice(2)}\n`;
  return text;
}

const [kN, kComma, kZero, kOne] = ['n', ',', '0', '1'].map((c) => c.charCodeAt(0));

// 1 at the root, each value of the walk a node under the last one a depth
// above it, the rows the leaves at depth i. A search stopped early keeps the
// rows it showed and their paths.
function readSearch(head, lines) {
  const exponent = Number(head[1]);
  const size = lines.length + 1;
  const value = new Float64Array(size);
  const depth = new Int32Array(size);
  const parent = new Int32Array(size);
  const multiplied = new Uint8Array(size);
  const row = new Int32Array(size).fill(-1);  // the row of a leaf, 0 first
  const lastAt = new Int32Array(Math.max(1, exponent) + 1);
  const rows = [];
  let stopped = false;
  value[0] = 1;
  parent[0] = -1;
  let count = 1;
  // The value just read, at depth `d`, under the last one a depth above it.
  const added = (d) => {
    depth[count] = d;
    parent[count] = lastAt[d - 1];
    lastAt[d] = count;
    ++count;
  };
  for (const line of lines) {
    if (line.charCodeAt(0) === kN && line.charCodeAt(1) === kComma) {
      // The walk's values are most of the lines: read digit by digit, exact
      // below 2^53, as far above any value of a search at the prompt (2^i,
      // i at most 32).
      let at = 2;
      let d = 0;
      for (let c = line.charCodeAt(at); c !== kComma; c = line.charCodeAt(++at)) d = d * 10 + c - kZero;
      let v = 0;
      for (let c = line.charCodeAt(++at); c !== kComma; c = line.charCodeAt(++at)) v = v * 10 + c - kZero;
      value[count] = v;
      multiplied[count] = line.charCodeAt(at + 1) === kOne ? 1 : 0;
      added(d);
      continue;
    }
    const fields = line.split(',');
    if (fields[0] === 'c' && fields[1] !== 'exponent') {
      const parity = fields[5];
      value[count] = Number(fields[3]);
      multiplied[count] = parity[0] === '1' ? 1 : 0;
      row[count] = rows.length;
      rows.push({ start: fields[3], multiplications: Number(fields[4]), parity });
      added(exponent);
    } else if (fields[0] === 'end') {
      stopped = fields[1] === '1';
    }
  }
  // The values that lead to a row: after a stop, some lead to none.
  const leaves = new Int32Array(count);
  for (let i = count - 1; i > 0; --i) {
    if (row[i] >= 0) leaves[i] += 1;
    if (leaves[i] > 0) leaves[parent[i]] += leaves[i];
  }
  // The tree in arrays, one entry a value, each parent before its children
  // and its first child right after it: 26,762 objects would cost a phone
  // more in making and collecting them than all the rest of the reading.
  let keptCount = 0;
  const kept = new Int32Array(count).fill(-1);
  for (let i = 0; i < count; ++i) if (i === 0 || leaves[i] > 0) kept[i] = keptCount++;
  const tree = {
    size: keptCount,
    value: new Float64Array(keptCount),
    depth: new Int32Array(keptCount),
    parent: new Int32Array(keptCount),
    multiplied: new Uint8Array(keptCount),
    row: new Int32Array(keptCount),
  };
  for (let i = 0; i < count; ++i) {
    const k = kept[i];
    if (k < 0) continue;
    tree.value[k] = value[i];
    tree.depth[k] = depth[i];
    tree.parent[k] = i === 0 ? -1 : kept[parent[i]];
    tree.multiplied[k] = multiplied[i];
    tree.row[k] = row[i];
  }
  let minM = rows.length > 0 ? Infinity : 0;
  let maxM = 0;
  for (const { multiplications } of rows) {
    minM = Math.min(minM, multiplications);
    maxM = Math.max(maxM, multiplications);
  }
  return { kind: 'search', exponent, variant: head[2], compressed: head[3] === '1', stopped, tree, rows, minM, maxM };
}

// A value of the tree written out: a start number as the program wrote it.
export function textOf(model, i) {
  const { row, value } = model.tree;
  return row[i] >= 0 ? model.rows[row[i]].start : String(value[i]);
}

// Whether a value of the tree has none after it: a start number.
export function isLeaf(tree, i) {
  return i + 1 >= tree.size || tree.parent[i + 1] !== i;
}

// The parity vector of a value's own sequence down to 1: the steps up to the root.
export function parityOf(tree, index) {
  let parity = '';
  for (let i = index; tree.parent[i] >= 0; i = tree.parent[i]) parity += tree.multiplied[i] === 1 ? '1' : '0';
  return parity;
}

// One point per value the run went through, from its start (a taken
// candidate, or the guard list's value in the typed start's place) on; what
// it printed before that is told as `before`.
function readRun(head, lines) {
  const printed = [];
  let replaced = null;
  for (const line of lines) {
    const fields = line.split(',');
    if (fields[0] === 'v') printed.push({ kind: fields[1], text: fields[2] });
    else if (fields[0] === 'replaced') replaced = fields[1];
  }
  let from = 0;
  printed.forEach((point, i) => { if (point.kind === 'c') from = i; });
  const before = printed.slice(0, from);
  const points = printed.slice(from).map((point, step) => ({ ...point, step, value: Number(point.text) }));
  if (replaced !== null && from === 0 && points.length > 0) {
    before.push(points.shift());
    points.unshift({ kind: 's', text: replaced, value: Number(replaced) });
    points.forEach((point, step) => { point.step = step; });
  }
  return { kind: 'run', code: head[1], variant: head[2], compressed: head[3] === '1', replaced, before, series: [points] };
}

// Each listed row with the terms it showed.
function readListing(head, lines) {
  const series = [];
  const rows = [];
  for (const line of lines) {
    const fields = line.split(',');
    if (fields[0] === 'row') {
      series.push([]);
      rows.push({ index: Number(fields[1]), start: fields[2] });
    } else if (fields[0] === 'v' && series.length > 0) {
      const points = series.at(-1);
      points.push({ kind: fields[1], text: fields[2], value: Number(fields[2]), step: points.length });
    }
  }
  return { kind: 'listing', form: head[1], variant: head[2], rows, series };
}

export function readPicture(lines) {
  const head = lines[0].split(',');
  const read = { search: readSearch, run: readRun, listing: readListing }[head[0]];
  return { ...read(head, lines), csv: csvOf(lines) };
}

// A path's step kinds: 1 where the step to a value was a multiplication.
export function isMultiplication(point) {
  return point.kind === 'm' || point.kind === 'x';
}

// Where a path meets a value again: the step it first had it.
export function loopsOf(points) {
  const loops = [];
  points.forEach((point, at) => {
    if (point.kind !== 'r') return;
    const first = points.findIndex((other) => other.text === point.text);
    if (first >= 0 && first < at) loops.push([first, at]);
  });
  return loops;
}

// The parity vector of a point's own sequence from there to the path's end.
export function pathParity(points, at) {
  let parity = '';
  for (let i = at + 1; i < points.length; ++i) parity += isMultiplication(points[i]) ? '1' : '0';
  return parity;
}
