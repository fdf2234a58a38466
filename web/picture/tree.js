// A search as its tree: 1 at the left, each value of the backward walk one
// depth further right, the start numbers the leaves at depth i, top to bottom
// in the order of the rows, each value at the mean of its children's places.
// d3-zoom stretches and moves it up and down (wheel, drag, pinch), so that the
// 6,682 leaves of the compressed 2^32 can be read. Drawn on a canvas: one path
// for the halving branches, one for the multiplication branches, only what is
// in view; while a gesture moves it, an image of them; SVG for the download.
import { select } from 'd3-selection';
import { zoom, zoomIdentity } from 'd3-zoom';

import { canvasIn, escaped, svgDocument } from './canvas.js';
import { grouped, kFocus, kFont, kHalving, kMultiplication, kStart, kText, kValue } from './colours.js';
import { isLeaf, parityOf, textOf } from './model.js';

const kTop = 10;
const kBottom = 22;
const kLeft = 16;
const kLabelGap = 6;
const kDigitWidth = 7;
// A leaf's number is written once the leaves are this far apart.
const kLabelSpacing = 11;
const kSvgSpacing = 12;
// While a gesture moves the tree, its branches are drawn once into an image a
// screen taller above and below, which each frame moves and stretches: a
// phone cannot stroke the thousands of branches 30 times a second. The image
// is drawn anew where the gesture leaves it or stretches it more than this.
const kMostStretch = 2;

export function treeView(model, host) {
  const { tree } = model;
  const { size, depth, parent: parentOf, multiplied: multipliedOf } = tree;
  const exponent = Math.max(0, model.exponent);
  // The layout in the unit square: x across the depths, y down the leaves.
  const x = new Float64Array(size);
  const y = new Float64Array(size);
  // A dendrogram: the leaves evenly spaced in their order, each value at the
  // mean of its children's places. The values come parent first, so one pass
  // back from the last sets every parent after its children.
  let leafCount = 0;
  for (let i = 0; i < size; ++i) if (isLeaf(tree, i)) y[i] = leafCount++;
  const sum = new Float64Array(size);
  const children = new Int32Array(size);
  for (let i = size - 1; i >= 0; --i) {
    if (children[i] > 0) y[i] = sum[i] / children[i];
    if (i > 0) {
      sum[parentOf[i]] += y[i];
      children[parentOf[i]] += 1;
    }
  }
  for (let i = 0; i < size; ++i) {
    x[i] = exponent > 0 ? depth[i] / exponent : 0;
    y[i] = (y[i] + 0.5) / leafCount;
  }
  // The values of each depth from top to bottom, as the drawing of every
  // frame reads them.
  const byDepth = Array.from({ length: exponent + 1 }, () => []);
  for (let i = 0; i < size; ++i) byDepth[depth[i]].push(i);
  const leaves = byDepth[exponent] ?? [];
  let digits = 1;
  for (const row of model.rows) digits = Math.max(digits, row.start.length);
  const right = digits * kDigitWidth + kLabelGap * 2;
  let transform = zoomIdentity;
  let focused = -1;
  let still = null;  // the branches' image while a gesture moves them
  let gestures = 0;

  const ground = canvasIn(host, draw);
  const behaviour = zoom()
    .scaleExtent([1, Math.max(1, leaves.length * kSvgSpacing / 100)])
    .clickDistance(4)
    .constrain((t, extent) => {
      const height = extent[1][1];
      return zoomIdentity.translate(0, Math.min(0, Math.max(height - height * t.k, t.y))).scale(t.k);
    })
    // A wheel and a drag are gestures of their own that may overlap: the
    // tree moves until the last has ended.
    .on('start', () => {
      gestures += 1;
      ground.moving(true);
    })
    .on('zoom', (event) => {
      transform = event.transform;
      ground.redraw();
    })
    .on('end', () => {
      gestures = Math.max(0, gestures - 1);
      ground.moving(gestures > 0);
    });
  select(ground.canvas).call(behaviour).on('dblclick.zoom', null);

  const across = (i) => kLeft + x[i] * (ground.size()[0] - kLeft - right);
  const down = (i) => kTop + transform.y + transform.k * y[i] * (ground.size()[1] - kTop - kBottom);
  const spacing = () => (leaves.length > 1
    ? transform.k * (ground.size()[1] - kTop - kBottom) / (leaves.length - 1) : Infinity);

  // Depth by depth, top to bottom: a branch that would cover the pixels of
  // the one before it is left out, so that a frame of the whole tree draws
  // about as many as the picture has pixel rows, not every value.
  function branches(context, multiplied, width, height, [low, high] = [0, height]) {
    const span = width - kLeft - right;
    const top = kTop + transform.y;
    const stretch = transform.k * (height - kTop - kBottom);
    const kind = multiplied ? 1 : 0;
    context.beginPath();
    for (let d = 1; d <= exponent; ++d) {
      const x0 = kLeft + ((d - 1) / exponent) * span;
      const x1 = kLeft + (d / exponent) * span;
      let last0 = NaN;
      let last1 = NaN;
      for (const i of byDepth[d]) {
        if (multipliedOf[i] !== kind) continue;
        const y0 = top + stretch * y[parentOf[i]];
        const y1 = top + stretch * y[i];
        if ((y0 < low && y1 < low) || (y0 > high && y1 > high)) continue;
        const row0 = Math.round(y0);
        const row1 = Math.round(y1);
        if (row0 === last0 && row1 === last1) continue;
        last0 = row0;
        last1 = row1;
        context.moveTo(x0, y0);
        context.lineTo(x1, y1);
      }
    }
    context.strokeStyle = multiplied ? kMultiplication : kHalving;
    // Where branches crowd, one as thick as the other.
    context.lineWidth = multiplied && spacing() >= 2 ? 1.6 : 1;
    context.stroke();
  }

  // The branches as an image from a screen above to a screen below, at one
  // pixel a point, for the transform of the moment, on a canvas of its own
  // under the picture's, which the browser moves and stretches without
  // drawing it again; in a box that keeps it clear of the depths.
  function stillImage(width, height, bottom) {
    if (!still) {
      const box = document.createElement('div');
      box.style.cssText = 'position: absolute; left: 0; top: 0; overflow: hidden; pointer-events: none';
      const image = document.createElement('canvas');
      image.style.cssText = 'display: block; transform-origin: 0 0';
      box.append(image);
      ground.canvas.before(box);
      // Over the image: positioned as it is, and after it.
      ground.canvas.style.position = 'relative';
      still = { box, image };
    }
    const { box, image } = still;
    const margin = height;
    if (image.width !== width) image.width = width;
    if (image.height !== height + 2 * margin) image.height = height + 2 * margin;
    image.style.width = `${width}px`;
    image.style.height = `${height + 2 * margin}px`;
    box.style.width = `${width}px`;
    box.style.height = `${bottom}px`;
    const context = image.getContext('2d');
    context.setTransform(1, 0, 0, 1, 0, margin);
    context.clearRect(0, -margin, width, height + 2 * margin);
    branches(context, false, width, height, [-margin, height + margin]);
    branches(context, true, width, height, [-margin, height + margin]);
    Object.assign(still, { k: transform.k, y: transform.y, margin, width, height, valid: true });
  }

  // Where the image of the branches lands at the transform of the moment, if
  // it still holds all of the tree that is in view.
  function stillPlace(width, height, bottom) {
    if (!still?.valid || still.width !== width || still.height !== height) return null;
    const stretch = transform.k / still.k;
    if (stretch > kMostStretch || stretch < 1 / kMostStretch) return null;
    const top = kTop + transform.y + stretch * (-still.margin - kTop - still.y);
    const tall = stretch * (height + 2 * still.margin);
    const treeTop = kTop + transform.y;
    const treeBottom = treeTop + transform.k * (height - kTop - kBottom);
    return top <= Math.max(0, treeTop) && top + tall >= Math.min(bottom, treeBottom) ? [top, stretch] : null;
  }

  function draw(context, width, height, moving) {
    const bottom = height - kBottom + kTop / 2;
    if (moving) {
      let place = stillPlace(width, height, bottom);
      if (!place) {
        stillImage(width, height, bottom);
        place = stillPlace(width, height, bottom);
      }
      still.image.style.transform = `translate(0, ${place[0]}px) scale(1, ${place[1]})`;
      still.box.hidden = false;
    } else {
      if (still) {
        still.valid = false;
        still.box.hidden = true;
      }
      // The branches keep clear of the depths written under them.
      context.save();
      context.beginPath();
      context.rect(0, 0, width, bottom);
      context.clip();
      branches(context, false, width, height);
      branches(context, true, width, height);
      context.restore();
    }
    context.font = `11px ${kFont}`;
    context.textBaseline = 'middle';
    context.fillStyle = kValue;
    context.fillText('1', 2, down(0));
    if (spacing() >= kLabelSpacing) {
      context.fillStyle = kStart;
      for (const i of leaves) {
        const at = down(i);
        if (at >= -kLabelSpacing && at <= height + kLabelSpacing) context.fillText(textOf(model, i), across(i) + kLabelGap, at);
      }
    }
    // The depths along the bottom.
    context.fillStyle = kText;
    context.textBaseline = 'alphabetic';
    const every = Math.max(1, Math.ceil(exponent / Math.max(1, Math.floor((width - kLeft - right) / 28))));
    for (let d = 0; d <= exponent; d += every) {
      context.fillText(String(d), kLeft + (exponent > 0 ? d / exponent : 0) * (width - kLeft - right) - 3, height - 6);
    }
    if (focused >= 0) {
      // The focused value and its path down to 1.
      context.beginPath();
      for (let i = focused; parentOf[i] >= 0; i = parentOf[i]) {
        context.moveTo(across(i), down(i));
        context.lineTo(across(parentOf[i]), down(parentOf[i]));
      }
      context.strokeStyle = kFocus;
      context.lineWidth = 2.5;
      context.stroke();
      context.beginPath();
      context.arc(across(focused), down(focused), 5, 0, 2 * Math.PI);
      context.stroke();
    }
  }

  // Brings a value into view, stretched so that its neighbours stand apart.
  function reveal(i) {
    const [, height] = ground.size();
    const at = down(i);
    if (at >= kTop && at <= height - kBottom) return;
    const inner = height - kTop - kBottom;
    // Centred, as far as the tree's ends allow (a transform is not constrained).
    const centred = height / 2 - kTop - transform.k * y[i] * inner;
    const t = zoomIdentity.translate(0, Math.min(0, Math.max(height - height * transform.k, centred))).scale(transform.k);
    select(ground.canvas).call(behaviour.transform, t);
  }

  function nearest(list, target) {
    let low = 0;
    let high = list.length - 1;
    while (low < high) {
      const mid = (low + high) >> 1;
      if (y[list[mid]] < target) low = mid + 1;
      else high = mid;
    }
    if (low > 0 && Math.abs(y[list[low - 1]] - target) < Math.abs(y[list[low]] - target)) --low;
    return list[low];
  }

  return {
    element: ground.canvas,
    resize: (width, height) => ground.resize(width, height),
    summary: () => {
      const shown = model.stopped ? ' shown, the search stopped early' : '';
      return `Tree of the ${grouped(model.rows.length)} start numbers${shown} of 2^${exponent}`
        + ` (${model.variant}${model.compressed ? ', compressed steps' : ''}), m from ${model.minM} to ${model.maxM}:`
        + ` ${grouped(size)} values, 1 at the root, the start numbers the leaves at depth ${exponent};`
        + ' halving branches blue, multiplication branches red and thicker.';
    },
    first: () => (leaves.length > 0 ? leaves[0] : 0),
    // Left: one step down towards 1; Right: the value one step back (the
    // halving's first); Up and Down: the neighbours at the same depth.
    move(i, key) {
      const row = byDepth[depth[i]];
      const at = row.indexOf(i);
      const page = Math.max(1, Math.round(row.length / 20));
      switch (key) {
        case 'ArrowLeft': return parentOf[i] >= 0 ? parentOf[i] : i;
        case 'ArrowRight': return isLeaf(tree, i) ? i : i + 1;
        case 'ArrowUp': return row[Math.max(0, at - 1)];
        case 'ArrowDown': return row[Math.min(row.length - 1, at + 1)];
        case 'PageUp': return row[Math.max(0, at - page)];
        case 'PageDown': return row[Math.min(row.length - 1, at + page)];
        case 'Home': return 0;
        case 'End': return leaves.length > 0 ? leaves.at(-1) : i;
        default: return null;
      }
    },
    describe(i) {
      const row = tree.row[i];
      const facts = [`depth ${depth[i]} of ${exponent}`];
      if (parentOf[i] >= 0) facts.push(multipliedOf[i] === 1 ? 'by a multiplication' : 'by a halving');
      if (row >= 0) facts.push(`row ${grouped(row + 1)}, m ${model.rows[row].multiplications}`);
      facts.push(`parity to 1: ${parityOf(tree, i) || 'none'}`);
      return { number: textOf(model, i), facts };
    },
    focus(i) {
      focused = i ?? -1;
      if (focused >= 0) reveal(focused);
      ground.redraw();
    },
    hitAt(px, py) {
      const [width, height] = ground.size();
      if (exponent < 1) return 0;
      const d = Math.round(((px - kLeft) / Math.max(1, width - kLeft - right)) * exponent);
      const row = byDepth[Math.min(exponent, Math.max(0, d))];
      if (!row || row.length === 0) return null;
      const target = ((py - kTop - transform.y) / transform.k) / Math.max(1, height - kTop - kBottom);
      const i = nearest(row, target);
      return Math.abs(down(i) - py) <= Math.max(12, spacing() / 2) ? i : null;
    },
    // The whole tree, its leaves 12 pixels apart and each written.
    svg() {
      const width = 960;
      const inner = Math.max(1, leaves.length - 1) * kSvgSpacing;
      const height = inner + kTop + kBottom;
      const across1 = (i) => (kLeft + x[i] * (width - kLeft - right)).toFixed(1);
      const down1 = (i) => (kTop + y[i] * inner).toFixed(1);
      const paths = [false, true].map((multiplied) => {
        let d = '';
        for (let i = 1; i < size; ++i) {
          if ((multipliedOf[i] === 1) === multiplied) d += `M${across1(parentOf[i])} ${down1(parentOf[i])}L${across1(i)} ${down1(i)}`;
        }
        return `<path d="${d}" fill="none" stroke="${multiplied ? kMultiplication : kHalving}" stroke-width="${multiplied ? 1.6 : 1}"/>`;
      });
      const labels = leaves.map((i) => `<text x="${(Number(across1(i)) + kLabelGap).toFixed(1)}" y="${down1(i)}">${escaped(textOf(model, i))}</text>`);
      return svgDocument(width, height, this.summary(),
        `${paths.join('')}<g fill="${kStart}" font-family="${escaped(kFont)}" font-size="11" dominant-baseline="middle">`
        + `<text x="2" y="${down1(0)}" fill="${kValue}">1</text>${labels.join('')}</g>`);
    },
    canvas: () => ground.canvas,
    leaves: () => leaves.map((i) => textOf(model, i)),
    zoomBy: (k) => select(ground.canvas).call(behaviour.scaleBy, k),
    destroy() {
      select(ground.canvas).on('.zoom', null);
      still?.box.remove();
      ground.canvas.remove();
    },
  };
}
