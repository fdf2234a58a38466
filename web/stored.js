// The page's choices kept in localStorage, and what one tab carries over
// its next load in sessionStorage (`area`). Where storage is refused (some
// private windows), a choice lasts as long as the page.
export function stored(key, area = 'localStorage') {
  try {
    return window[area].getItem(key);
  } catch {
    return null;
  }
}

export function store(key, value, area = 'localStorage') {
  try {
    window[area].setItem(key, value);
  } catch {
    // as above
  }
}

export function forget(key, area = 'localStorage') {
  try {
    window[area].removeItem(key);
  } catch {
    // as above
  }
}
