# The files of the page that its service worker keeps: those it stores at install, which the page
# needs to start, and those the browser asks for only at times (the large icons, the picture a
# shared link shows), stored when it does.
set(VEXO_PAGE_FILES index.html vexo.js vexo.wasm manifest.webmanifest icon-48.png)
set(VEXO_PAGE_LATER icon-192.png icon-512.png icon-maskable-512.png preview.png)
