// The program's pop-up menu, drawn by the page: built entry by entry as GLUT builds it, opened by
// the menu's button, the ContextMenu key or a long press, closed by Escape or by focus leaving it.
import { FINGER_PX } from './gestures.js';

const clamp = (v, lo, hi) => Math.max(lo, Math.min(v, hi));

// The top left of a menu of `size` ([w, h]) placed at `point` ([x, y]), moved back inside `view`
// ({left, top, width, height}) where it would run off it.
export function menuAt(point, size, view) {
  return [clamp(point[0], view.left, view.left + view.width - size[0]),
    clamp(point[1], view.top, view.top + view.height - size[1])];
}

// Where a menu of `size` goes when a finger at `point` opened it, so that the finger's next tap
// lands on no entry it did not aim at: a finger's width above it, or below, or beside it where
// the view is too short, and otherwise as far from it as the view allows. [x, y, gap].
export function menuAwayFrom(point, size, view) {
  const [px, py] = point, [w, h] = size;
  let best = null;
  for (const p of [[px - w / 2, py - FINGER_PX - h], [px - w / 2, py + FINGER_PX],
    [px + FINGER_PX, py - h / 2], [px - FINGER_PX - w, py - h / 2]]) {
    const [x, y] = menuAt(p, size, view);
    const gap = Math.hypot(Math.max(x - px, 0, px - x - w), Math.max(y - py, 0, py - y - h));
    if (!best || (best[2] < FINGER_PX && gap > best[2])) best = [x, y, gap];
  }
  return best;
}

// The menu, inside the page's landmarks. `choose(value)` is told the entry chosen.
export function createMenu(doc, choose) {
  const win = doc.defaultView;
  const element = doc.createElement('div');
  element.className = 'menu';
  element.setAttribute('role', 'menu');
  element.setAttribute('aria-label', 'Vexo');
  element.hidden = true;
  (doc.querySelector('main') || doc.body).appendChild(element);
  let pressedAt = null;  // the finger that opened the menu, in page pixels

  const view = () => ({ left: win.scrollX, top: win.scrollY,
    width: doc.documentElement.clientWidth, height: doc.documentElement.clientHeight });
  const size = () => [element.offsetWidth, element.offsetHeight];

  const menu = {
    element,
    button: -1,  // the mouse button GLUT attached it to
    get isOpen() { return !element.hidden; },
    addEntry(label, value) {
      const entry = doc.createElement('button');
      entry.setAttribute('role', 'menuitem');
      entry.lang = 'fr';  // the program's own words are French
      entry.textContent = label;
      entry.addEventListener('click', (event) => {
        // A tap within a finger's width of the press that opened the menu was not aimed at it.
        if (pressedAt && event.detail &&
            Math.hypot(event.pageX - pressedAt[0], event.pageY - pressedAt[1]) < FINGER_PX) return;
        menu.close();
        choose(value);
      });
      element.appendChild(entry);
    },
    // Opens it with its top left at a page point, kept in view, its first entry focused.
    open(pageX, pageY) {
      element.hidden = false;
      pressedAt = null;
      const [x, y] = menuAt([pageX, pageY], size(), view());
      element.style.left = `${x}px`;
      element.style.top = `${y}px`;
      element.querySelector('button')?.focus();
    },
    // Opens it clear of a finger, smaller where nothing else fits.
    openAwayFrom(pageX, pageY) {
      element.hidden = false;
      element.classList.remove('compact');
      let place = menuAwayFrom([pageX, pageY], size(), view());
      if (place[2] < FINGER_PX) {
        element.classList.add('compact');
        place = menuAwayFrom([pageX, pageY], size(), view());
      }
      menu.open(place[0], place[1]);
      pressedAt = [pageX, pageY];
    },
    close() {
      element.hidden = true;
      pressedAt = null;
    },
  };
  // Focus that leaves the menu, by Tab or a click elsewhere, closes it.
  element.addEventListener('focusout', (event) => {
    if (!element.contains(event.relatedTarget)) menu.close();
  });
  return menu;
}
