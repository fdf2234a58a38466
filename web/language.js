// The program's language: German, as ever, unless the visitor chose English,
// a choice kept in localStorage like the text size (the browser's own
// language does not switch it). The terminal and the spoken region are
// marked with it, for screen readers. The program reads its language when it
// starts, so a change starts it again: the page loads anew as a link to the
// session (link.js), which types its keys again, each at its prompt, and the
// visitor sees the same screens in the other language.
import { addressWith, showNotice } from './link.js';
import { forget, store, stored } from './stored.js';

const kLanguageKey = 'collatzperm.language';
// Said after the new load, in the tab that asked for it.
const kNoticeKey = 'collatzperm.languageNotice';
const kCutSession = 'This session had more than 4,096 keys; only the first 4,096 were typed again.';
// The control offers the other language, named in that language.
const kOffers = {
  de: { language: 'en', name: 'English', label: 'English: the program in English' },
  en: { language: 'de', name: 'Deutsch', label: 'Deutsch: das Programm auf Deutsch' },
};

export function chosenLanguage() {
  return stored(kLanguageKey) === 'en' ? 'en' : 'de';
}

// What the program is started with: German takes no argument, so the page
// starts it as it always has.
export function languageArguments(language) {
  return language === 'en' ? ['--language=en'] : [];
}

// `button` switches to the other language; `marked` are the elements that
// show the program's text. `link` is the page's link (link.js).
export function setUpLanguage(language, button, marked, link) {
  for (const element of marked) element.lang = language;
  const offer = kOffers[language];
  button.textContent = offer.name;
  button.lang = offer.language;
  button.title = offer.label;
  const notice = stored(kNoticeKey, 'sessionStorage');
  if (notice) {
    forget(kNoticeKey, 'sessionStorage');
    showNotice(notice);
  }
  button.addEventListener('click', () => {
    store(kLanguageKey, offer.language);
    const session = link.session();
    if (session.cut) store(kNoticeKey, kCutSession, 'sessionStorage');
    // Only the fragment changes, so the address is set and then loaded.
    history.replaceState(null, '', session.keys ? addressWith(session.keys) : location.href.split('#')[0]);
    location.reload();
  });
}
