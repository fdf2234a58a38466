// The full guide for the site: docs/GUIDE.md as a page of its own, in the
// page's colours, with a way back to the program.
//   node make_guide.mjs docs/GUIDE.md build-web/site/guide.html
import fs from 'node:fs';

import { marked } from 'marked';

const kPage = (body) => `<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<meta name="theme-color" content="#000000">
<title>collatzperm: the guide</title>
<link rel="icon" href="favicon.svg" type="image/svg+xml">
<style>
body { max-width: 50em; margin: 0 auto; padding: 8px 16px 32px; background: #000; color: #e6e6e6;
  font: 16px/1.5 system-ui, sans-serif; }
a { color: #9ab8ff; }
h1, h2, h3 { line-height: 1.2; }
code, pre { font-family: "DejaVu Sans Mono", Consolas, Menlo, monospace; font-size: 14px; }
code { background: #1e1e1e; padding: 0 2px; }
pre { overflow-x: auto; padding: 8px; background: #1e1e1e; }
pre code { padding: 0; }
table { border-collapse: collapse; }
th, td { padding: 3px 8px; border: 1px solid #555; text-align: left; vertical-align: top; }
</style>
</head>
<body>
<header><nav aria-label="collatzperm"><a href="./">Back to collatzperm</a></nav></header>
<main>
${body}</main>
</body>
</html>
`;

const [source, target] = process.argv.slice(2);
if (!source || !target) {
  console.error('usage: node make_guide.mjs GUIDE.md guide.html');
  process.exit(2);
}
// A sample wider than the window scrolls, and a keyboard can scroll it too.
const body = marked.parse(fs.readFileSync(source, 'utf8')).replaceAll('<pre>', '<pre tabindex="0">');
fs.writeFileSync(target, kPage(body));
