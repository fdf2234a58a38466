// Help: a short guide in the program's language, in a modal dialog over the
// page, fetched the first time it is asked for (the service worker keeps it
// with the rest of the site). Esc or its Close button shut it, and the keys
// go back to the program. While the terminal has the focus every key goes to
// the program, so Alt+Shift+H opens and shuts it from anywhere in the page,
// as Alt+Shift+R does the screen reader mode (the program has no use for it).
const kFiles = { de: 'help_de.html', en: 'help_en.html' };
const kNotLoaded = {
  de: 'Die Hilfe konnte nicht geladen werden. Ein neuer Versuch: die Schaltfläche Help.',
  en: 'The help could not be loaded. To try again: the Help button.',
};
const kClose = { de: 'Schließen', en: 'Close' };

function isShortcut(event) {
  return event.code === 'KeyH' && event.altKey && event.shiftKey && !event.ctrlKey && !event.metaKey;
}

// The dialog's Close button, in a form that shuts it without a script.
function closeButton(language) {
  const form = document.createElement('form');
  form.method = 'dialog';
  form.className = 'help-close';
  const button = document.createElement('button');
  button.textContent = kClose[language];
  form.append(button);
  return form;
}

// `button` opens the help; `terminal` gets the keys back when it shuts.
export function setUpHelp(language, button, terminal) {
  const dialog = document.createElement('dialog');
  dialog.id = 'help-dialog';
  dialog.lang = language;
  dialog.setAttribute('aria-labelledby', 'help-title');
  document.body.append(dialog);
  let loading = null;

  function load() {
    loading ??= fetch(kFiles[language])
      .then((response) => {
        if (!response.ok) throw new Error(`${kFiles[language]}: ${response.status}`);
        return response.text();
      })
      .then((html) => {
        // The site's own file, never anything from the address or a visitor.
        dialog.innerHTML = html;
        dialog.prepend(closeButton(language));
      })
      .catch(() => {
        loading = null;
        const text = document.createElement('p');
        text.id = 'help-title';
        text.textContent = kNotLoaded[language];
        dialog.replaceChildren(closeButton(language), text);
      });
    return loading;
  }

  async function open() {
    if (dialog.open) return;
    await load();
    if (dialog.open) return;
    dialog.showModal();
    dialog.scrollTop = 0;
  }

  button.setAttribute('aria-haspopup', 'dialog');
  button.addEventListener('click', open);
  dialog.addEventListener('close', () => terminal.focus());
  // Before the terminal sees the key, which would type it into the program.
  addEventListener('keydown', (event) => {
    if (!isShortcut(event)) return;
    event.preventDefault();
    event.stopPropagation();
    if (dialog.open) dialog.close();
    else open();
  }, { capture: true });
}
