// The page's choices kept in localStorage. Where storage is refused (some
// private windows), a choice lasts as long as the page.
export function stored(key) {
  try {
    return localStorage.getItem(key);
  } catch {
    return null;
  }
}

export function store(key, value) {
  try {
    localStorage.setItem(key, value);
  } catch {
    // as above
  }
}
