// A session as a link: "#keys=" and the keys typed at the program's prompts,
// percent-encoded UTF-8 (Enter is %0D). The page opened from such a link
// types them again, one at a time, each when the program waits for input.
// Nothing else of the address is read, and what comes from it is only ever
// keys; notices about it are set as text.
const kPrefix = '#keys=';
const kMaxKeys = 4096;
const kBrokenLink = 'The keys of this link could not be read, so none were typed.';
const kCutLink = 'This link has more than 4,096 keys; only the first 4,096 were typed.';
const kLongSession = 'This session has more than 4,096 keys, too many for a link.';
const kCopied = (count) => `Link copied: ${count} key${count === 1 ? '' : 's'}.`;
const kCopyByHand = 'Copy this link: ';

const notice = document.getElementById('notice');

// Strings and elements, never markup.
export function showNotice(...parts) {
  notice.replaceChildren(...parts);
}

// This page's address with `keys` to type.
export function addressWith(keys) {
  return `${location.href.split('#')[0]}${kPrefix}${encodeURIComponent(keys)}`;
}

// The keys a link types (one string per key) and what to say about the link,
// from the address's fragment. Of the object returned, next() gives the
// link's next key to type, if any; taken(key) keeps each key the program
// takes at a prompt, for the next link; session() gives those and the link's
// keys not typed yet, as one string of at most 4,096 keys, and whether there
// were more.
export function keysOfLink(fragment) {
  const link = { keys: [], notice: '', typedAtPrompts: [], tooMany: false };
  let typed = 0;
  link.next = () => (typed < link.keys.length ? link.keys[typed++] : undefined);
  link.taken = (key) => {
    if (link.typedAtPrompts.length < kMaxKeys) link.typedAtPrompts.push(key);
    else link.tooMany = true;
  };
  link.session = () => {
    const keys = link.typedAtPrompts.concat(link.keys.slice(typed));
    return { keys: keys.slice(0, kMaxKeys).join(''), cut: link.tooMany || keys.length > kMaxKeys };
  };
  if (!fragment.startsWith(kPrefix)) return link;
  let text;
  try {
    // A bad escape, a cut one and invalid UTF-8 all throw.
    text = decodeURIComponent(fragment.slice(kPrefix.length));
  } catch {
    link.notice = kBrokenLink;
    return link;
  }
  link.keys = Array.from(text);
  if (link.keys.length > kMaxKeys) {
    link.keys.length = kMaxKeys;
    link.notice = kCutLink;
  }
  return link;
}

// The Link button copies a link to this page with the keys typed at the
// prompts so far; where the clipboard is refused, the link is shown to copy.
export function setUpLinkButton(button, link) {
  button.addEventListener('click', async () => {
    if (link.tooMany) {
      showNotice(kLongSession);
      return;
    }
    const address = addressWith(link.typedAtPrompts.join(''));
    try {
      await navigator.clipboard.writeText(address);
      showNotice(kCopied(link.typedAtPrompts.length));
    } catch {
      const field = document.createElement('input');
      field.readOnly = true;
      field.value = address;
      field.setAttribute('aria-label', 'Link to copy');
      showNotice(kCopyByHand, field);
      field.select();
    }
  });
}
