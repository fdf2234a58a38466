// Key buttons for a touch screen (style.css shows them where the pointer is
// coarse): the keys the program lives on, each a button named by its key. A
// tap types its key at once, as one key press into the same queue as the
// terminal's keys, without waiting for the click and without the soft
// keyboard, whose composition events garble a terminal's input on some phones.
// One more button brings up the soft keyboard for anyone who wants to type.
const kDigits = '1234567890';
const kLetters = 'QTXKMZBFDGJAC';
// [shown, name, what the key sends, wide]
const kKeys = [
  ...[...kDigits, ...kLetters].map((key) => [key, key, key, false]),
  ['Esc', 'Esc', '\x1b', false],
  ['Space', 'Space', ' ', true],
  ['\u232b', 'Backspace', '\x7f', false],
  ['Enter', 'Enter', '\r', true],
];

// A pointer's press on `element` (or in it) leaves the keyboard focus where
// it is; a keyboard's press works as ever.
export function keepFocus(element) {
  element.addEventListener('pointerdown', (event) => event.preventDefault());
}

function button(shown, name) {
  const element = document.createElement('button');
  element.type = 'button';
  element.textContent = shown;
  if (name !== shown) element.setAttribute('aria-label', name);
  return element;
}

// `type` takes what a key sends. The function returned takes the
// terminal's text field, which the soft keyboard types into, once there is one.
export function setUpKeyButtons(container, type) {
  const coarse = matchMedia('(pointer: coarse)');
  for (const [shown, name, sends, wide] of kKeys) {
    const key = button(shown, name);
    if (wide) key.classList.add('wide');
    key.addEventListener('pointerdown', (event) => {
      if (event.button !== 0) return;
      // The focus stays where it is: a soft keyboard that is open stays open.
      event.preventDefault();
      type(sends);
    });
    // The click after a tap (its detail counts the taps) was typed on the
    // way down; a keyboard's or a screen reader's press is a click alone.
    key.addEventListener('click', (event) => {
      if (event.detail === 0) type(sends);
    });
    container.append(key);
  }

  // A tap on the terminal brings up no keyboard unless this button asked for one.
  const keyboard = button('\u2328', 'Keyboard');
  let field = null;
  const quiet = () => { if (coarse.matches) field.inputMode = 'none'; };
  keepFocus(keyboard);
  keyboard.addEventListener('click', () => {
    if (!field) return;
    const shown = document.activeElement === field && field.inputMode !== 'none';
    field.blur();
    if (shown) return;
    field.inputMode = 'text';
    field.focus();
  });
  container.append(keyboard);
  return (textField) => {
    field = textField;
    quiet();
    field.addEventListener('blur', quiet);
  };
}
