// The pictures' colours on black, each 3:1 or more (WCAG's for graphics; the
// texts 4.5:1): the program's own, halvings blue as in its listings and
// multiplications red as its markers.
export const kHalving = '#3b78ff';  // 5.3:1
export const kMultiplication = '#e74856';  // 5.5:1
export const kValue = '#f2f2f2';  // 18.8:1
export const kStart = '#f9f1a5';  // 18.2:1
export const kText = '#cccccc';  // 13.1:1
export const kFocus = '#61d6d6';  // 12.1:1
// Paths of a listing by turns.
export const kSeries = ['#f2f2f2', '#61d6d6', '#f9f1a5', '#3b78ff', '#16c60c', '#d700bc', '#e74856', '#c19c00'];
export const kFont = '"DejaVu Sans Mono", Consolas, Menlo, monospace';

// A number's digits in groups of three, as the summaries write them.
export function grouped(text) {
  return String(text).replace(/\B(?=(\d{3})+(?!\d))/g, ',');
}
