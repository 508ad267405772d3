// What the page says of Vexo: loading, what cannot run, the program's state on its buttons and to
// screen readers, and the end.
export function createStatus(doc, reducedMotion) {
  const element = (id) => doc.getElementById(id);
  const shown = { animating: null, filled: null };
  let stalled = 0;
  const announce = (text) => { element('status').textContent = text; };

  return {
    announce,
    // A download that stalls is said after `ms`, with the offer to try again.
    watchLoading(ms) {
      stalled = doc.defaultView.setTimeout(() => {
        element('loading').textContent = 'Loading Vexo is taking long: the connection may be slow or stalled.';
        element('retry').hidden = false;
        element('problem').hidden = false;
      }, ms);
    },
    loaded(bytes) { element('loading').textContent = `Loading Vexo\u2026 ${Math.round(bytes / 1024)} KB`; },
    // What cannot run, in place of the loading note.
    fail(text, retry = false) {
      doc.defaultView.clearTimeout(stalled);
      element('loading').hidden = true;
      element('problem-text').textContent = text;
      element('retry').hidden = !retry;
      element('problem').hidden = false;
    },
    started() {
      doc.defaultView.clearTimeout(stalled);
      element('problem').hidden = true;
      element('loading').hidden = true;
      doc.querySelector('.controls').hidden = false;
    },
    // The program's state, told at start-up and at every change: the buttons' labels follow it,
    // however it was changed, and a change is announced.
    state(animating, filled) {
      const said = [];
      if (animating !== shown.animating) said.push(animating ? 'Spinning' : 'Paused');
      if (filled !== shown.filled) said.push(filled ? 'Faces' : 'Outlines');
      if (shown.animating !== null && said.length) announce(`${said.join(', ')}.`);
      Object.assign(shown, { animating, filled });
      element('pause').textContent = animating ? 'Pause' : 'Resume';
      element('outlines').textContent = filled ? 'Outlines' : 'Faces';
      element('still').hidden = animating || !reducedMotion;
    },
    ended() {
      announce('Vexo has ended.');
      doc.querySelector('.controls').hidden = true;
      element('still').hidden = true;
      element('ended').hidden = false;
      element('restart').focus();
    },
  };
}
