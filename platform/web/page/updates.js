// New builds of the page. A new build waits whole beside the one in use until no page of the old
// one is open, which a visitor who keeps one tab never brings about: say that it waits, and let
// them take it. Another tab may load it first: this one is then already served by the new build,
// whose files it lacks, so its offer stays and simply loads the page again.
// `serviceWorker` is navigator.serviceWorker; `reload` loads the page again.
export function offerUpdates(registration, { serviceWorker, doc, reload }) {
  const note = doc.getElementById('update');
  let waiting = null, chosen = false;
  const offer = (worker) => {
    if (!serviceWorker.controller) return;  // the first visit's build is no update
    waiting = worker;
    note.hidden = false;
  };
  // A build may be installing already when the registration comes back.
  const watch = (worker) => {
    if (!worker) return;
    if (worker.state === 'installed') offer(worker);
    else worker.addEventListener('statechange', () => { if (worker.state === 'installed') offer(worker); });
  };
  watch(registration.waiting);
  watch(registration.installing);
  registration.addEventListener('updatefound', () => watch(registration.installing));
  const controller = serviceWorker.controller;
  serviceWorker.addEventListener('controllerchange', () => {
    if (chosen) return reload();
    if (controller) note.hidden = false;
    waiting = null;
  });
  doc.getElementById('take-update').addEventListener('click', () => {
    chosen = true;
    if (waiting?.state === 'installed') waiting.postMessage('take over');
    else reload();
  });
}
