// The picture beside the terminal: of a search its tree or its spread, of a
// sequence run or a listing the paths, with what sums it up in words, its
// numbers as a table or CSV, and the picture as SVG or PNG. A value pointed
// at (hovered, tapped, or reached with the arrow keys) shows its number, and
// chosen (clicked, tapped again, or Enter) it is typed into the program as
// `00` and the number, when the program next waits for a command.
import './picture.css';

import { readPicture } from './model.js';
import { pathsView } from './paths.js';
import { spreadView } from './spread.js';
import { treeView } from './tree.js';

const kNothingYet = 'The picture shows the program\u2019s next search, sequence or listing.';
const kNotTyped = 'Only a whole number of at most 15 digits can be typed at the prompt.';
const kTyped = (number) => `00${number} is typed at the next prompt.`;
const kStageHelp = 'Arrow keys move between the values, Enter runs the one chosen.';

function button(text, label) {
  const element = document.createElement('button');
  element.type = 'button';
  element.textContent = text;
  if (label) element.setAttribute('aria-label', label);
  return element;
}

function download(name, blob) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(blob);
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

// `panel` is the picture's place in the page; `page` has the kept choice
// (choice, save), close(), choose(number) and whether the pointer is coarse.
export function createViewer(panel, page) {
  const { choice } = page;
  const bar = document.createElement('div');
  bar.className = 'picture-bar';
  bar.setAttribute('role', 'group');
  bar.setAttribute('aria-label', 'Picture tools');
  const title = document.createElement('h2');
  title.id = 'picture-title';
  const views = {
    tree: button('Tree', 'Tree view'),
    spread: button('Spread', 'Spread view'),
    linear: button('Linear', 'Linear scale'),
  };
  const csv = button('CSV', 'Download the numbers as CSV');
  const svg = button('SVG', 'Download the picture as SVG');
  const png = button('PNG', 'Download the picture as PNG');
  const table = button('Table', 'Show the numbers as a table');
  const back = button('Terminal', 'Back to the terminal');
  table.setAttribute('aria-expanded', 'false');
  back.className = 'picture-back';
  bar.append(title, views.tree, views.spread, views.linear, table, csv, svg, png, back);

  const stage = document.createElement('div');
  stage.className = 'picture-stage';
  stage.tabIndex = 0;
  stage.setAttribute('role', 'application');
  stage.setAttribute('aria-roledescription', 'picture');
  stage.setAttribute('aria-describedby', 'picture-summary picture-help');
  const info = document.createElement('div');
  info.className = 'picture-info';
  const run = button('Run', null);
  const infoText = document.createElement('span');
  info.append(infoText, run);
  info.hidden = true;
  const summary = document.createElement('p');
  summary.id = 'picture-summary';
  summary.className = 'picture-summary';
  const help = document.createElement('p');
  help.id = 'picture-help';
  help.className = 'unseen';
  help.textContent = kStageHelp;
  const spoken = document.createElement('div');
  spoken.className = 'unseen';
  spoken.setAttribute('aria-live', 'polite');
  const numbers = document.createElement('div');
  numbers.className = 'picture-table';
  numbers.hidden = true;
  panel.replaceChildren(bar, stage, info, summary, help, spoken, numbers);
  // A press on the picture's buttons or the picture itself leaves the focus
  // where it was, as the page's other tools do; the keyboard reaches them by Tab.
  for (const element of [bar, info]) element.addEventListener('pointerdown', (event) => event.preventDefault());
  // Caught on its way down: d3-zoom stops a press on the tree from rising.
  stage.addEventListener('mousedown', (event) => event.preventDefault(), true);

  let model = null;
  let view = null;
  let item = null;
  let lastPress = null;  // a tap shows a value; a second on it chooses it

  const kind = () => (model?.kind === 'search' ? choice.view : 'paths');

  function say(text) {
    spoken.textContent = text;
  }

  function showItem(next, announce) {
    item = next;
    view.focus(next ?? null);
    if (next === null || next === undefined) {
      info.hidden = true;
      return;
    }
    const { number, facts } = view.describe(next);
    infoText.textContent = `${number}: ${facts.join(', ')}`;
    run.textContent = `Run 00${number}`;
    run.hidden = number.length > 15 || !/^[0-9]+$/.test(number);
    info.hidden = false;
    if (announce) say(infoText.textContent);
  }

  function choose(next) {
    const { number } = view.describe(next);
    say(page.choose(number) ? kTyped(number) : kNotTyped);
  }

  function stageSize() {
    const box = stage.getBoundingClientRect();
    return [Math.max(50, Math.floor(box.width)), Math.max(50, Math.floor(box.height))];
  }

  function fit() {
    if (!view || panel.hidden) return;
    view.resize(...stageSize());
  }

  function build() {
    view?.destroy();
    view = null;
    item = null;
    info.hidden = true;
    numbers.hidden = true;
    table.setAttribute('aria-expanded', 'false');
    const search = model?.kind === 'search';
    views.tree.hidden = !search;
    views.spread.hidden = !search;
    views.linear.hidden = !model || search;
    views.tree.setAttribute('aria-pressed', String(choice.view === 'tree'));
    views.spread.setAttribute('aria-pressed', String(choice.view === 'spread'));
    views.linear.setAttribute('aria-pressed', String(choice.linear));
    for (const control of [csv, svg, png, table]) control.disabled = !model;
    if (!model) {
      title.textContent = 'Picture';
      summary.textContent = kNothingYet;
      stage.replaceChildren();
      stage.setAttribute('aria-label', 'Picture: nothing yet');
      return;
    }
    stage.replaceChildren();
    if (kind() === 'tree') view = treeView(model, stage);
    else if (kind() === 'spread') view = spreadView(model, stage);
    else view = pathsView(model, stage, choice.linear, stageSize());
    views.linear.disabled = search || !view.positive;
    title.textContent = {
      search: () => `Search of 2^${model.exponent}`,
      run: () => `Sequence of ${model.series[0][0]?.text ?? ''} (${model.code})`,
      listing: () => `Listing ${model.form}`,
    }[model.kind]();
    fit();
    summary.textContent = view.summary();
    stage.setAttribute('aria-label', `${{ tree: 'Tree', spread: 'Spread', paths: 'Paths' }[kind()]} of ${title.textContent}`);
    view.listen?.('hover', (next) => { if (!page.coarse.matches) showItem(next, false); });
    view.listen?.('press', press);
  }

  // A click chooses what it points at; on a touch screen the first tap shows it.
  function press(next) {
    if (next === null || next === undefined) return;
    const same = lastPress !== null && JSON.stringify(lastPress) === JSON.stringify(next);
    showItem(next, true);
    if (!page.coarse.matches || same) choose(next);
    lastPress = next;
  }

  stage.addEventListener('pointermove', (event) => {
    if (!view || event.pointerType !== 'mouse' || view.listen) return;
    const box = stage.getBoundingClientRect();
    const next = view.hitAt(event.clientX - box.left, event.clientY - box.top);
    if (next !== null) showItem(next, false);
  });
  stage.addEventListener('click', (event) => {
    if (!view || view.listen) return;
    const box = stage.getBoundingClientRect();
    press(view.hitAt(event.clientX - box.left, event.clientY - box.top));
  });
  stage.addEventListener('keydown', (event) => {
    if (!view || event.altKey || event.ctrlKey || event.metaKey) return;
    if (event.key === 'Enter' || event.key === ' ') {
      if (item !== null) choose(item);
      event.preventDefault();
      return;
    }
    // The first arrow finds the first value; Home and End go where they go.
    const from = item ?? view.first();
    const next = item === null && event.key.startsWith('Arrow') ? from : view.move(from, event.key);
    if (next === null || next === undefined) return;
    event.preventDefault();
    showItem(next, true);
  });
  run.addEventListener('click', () => { if (item !== null) choose(item); });

  views.tree.addEventListener('click', () => { choice.view = 'tree'; page.save(); build(); });
  views.spread.addEventListener('click', () => { choice.view = 'spread'; page.save(); build(); });
  views.linear.addEventListener('click', () => { choice.linear = !choice.linear; page.save(); build(); });
  back.addEventListener('click', () => page.close());
  const fileName = () => ({
    search: () => `collatzperm-search-${model.exponent}`,
    run: () => `collatzperm-sequence-${model.series[0][0]?.text ?? ''}`,
    listing: () => `collatzperm-listing-${model.form}`,
  }[model.kind]());
  csv.addEventListener('click', () => download(`${fileName()}.csv`, new Blob([model.csv], { type: 'text/csv' })));
  svg.addEventListener('click', () => download(`${fileName()}.svg`, new Blob([view.svg()], { type: 'image/svg+xml' })));
  png.addEventListener('click', () => view.canvas().toBlob((blob) => download(`${fileName()}.png`, blob)));
  table.addEventListener('click', () => {
    const open = numbers.hidden;
    numbers.hidden = !open;
    table.setAttribute('aria-expanded', String(open));
    if (open) numbers.replaceChildren(tableOf(model.csv, title.textContent));
  });
  new ResizeObserver(fit).observe(stage);

  return {
    show(lines) {
      model = lines ? readPicture(lines) : null;
      build();
    },
    hidden() {
      info.hidden = true;
    },
    // For tests: the picture's values as it has them.
    state: () => ({
      kind: model?.kind, view: kind(), summary: summary.textContent, csv: model?.csv,
      leaves: kind() === 'tree' ? view.leaves() : undefined,
      values: kind() === 'paths' ? view.values() : undefined,
    }),
    view: () => view,
    choose: (next) => choose(next),
  };
}

// The CSV as a table, its header the column heads.
function tableOf(text, caption) {
  const element = document.createElement('table');
  const heading = element.createCaption();
  heading.textContent = `The numbers of ${caption}`;
  const [head, ...rows] = text.trimEnd().split('\n');
  const headRow = element.createTHead().insertRow();
  for (const name of head.split(',')) {
    const cell = document.createElement('th');
    cell.scope = 'col';
    cell.textContent = name;
    headRow.append(cell);
  }
  const body = element.createTBody();
  for (const row of rows) {
    const line = body.insertRow();
    for (const value of row.split(',')) line.insertCell().textContent = value;
  }
  return element;
}
