// Which keys the page hands to the program, decided in the event itself from the table the
// program wrote at build time (tools/key_table.cpp), so that the browser keeps its default for
// every key the program leaves, while the program may be busy on another thread.

// Whether the table says the program takes `key` with these modifiers: each entry has one bit
// for each set of them, 1 << (shift + 2 x ctrl + 4 x alt).
export function takes(table, key, shift, ctrl, alt) {
  const set = Number(shift) + 2 * ctrl + 4 * alt;
  return Object.prototype.hasOwnProperty.call(table, key) && ((table[key] >> set) & 1) === 1;
}

// The browser's history and tab keys stay the browser's, though some are the desktop's controls
// too: Ctrl + Alt + Page Up or Page Down stands in for Ctrl + Page Up or Page Down, Ctrl + Alt +
// Left or Right turns 10 degrees as Alt + Left or Right do, and Home is Alt + Home.
export function browserKeeps({ key, altKey, ctrlKey, metaKey }) {
  const arrow = key === 'ArrowLeft' || key === 'ArrowRight';
  return (altKey && !ctrlKey && !metaKey && (arrow || key === 'Home')) ||
    (metaKey && (arrow || ['[', ']', 'y', 'Y'].includes(key))) ||
    (ctrlKey && !altKey && ['PageUp', 'PageDown', 'Tab'].includes(key));
}

// Whether a key opens the menu, as on a desktop.
export const opensMenu = ({ key, shiftKey }) => key === 'ContextMenu' || (key === 'F10' && shiftKey);

// The program's message for a key event, or null when the key stays the browser's.
export function keyMessage(event, table) {
  const { key, shiftKey, ctrlKey, altKey } = event;
  if (browserKeeps(event)) return null;
  const pageKey = key === 'PageUp' || key === 'PageDown';
  const alt = altKey && !(ctrlKey && pageKey);  // Ctrl + Alt + Page: the Ctrl + Page presets
  return takes(table, key, shiftKey, ctrlKey, alt) ? ['webKey', key, shiftKey, ctrlKey, alt] : null;
}
