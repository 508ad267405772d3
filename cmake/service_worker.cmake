# Writes the page's service worker, its cache named after the hash of the files it keeps, so
# that every build that changes any of them is a new cache.
# Usage: cmake -DDIR=BUILD_DIR -DTEMPLATE=sw.js -P service_worker.cmake
set(hashes "")
foreach(file index.html vexo.js vexo.wasm manifest.webmanifest icon-192.png icon-512.png
             icon-maskable-512.png preview.png)
  file(SHA256 ${DIR}/${file} hash)
  string(APPEND hashes "${hash}")
endforeach()
string(SHA256 VEXO_BUILD "${hashes}")
string(SUBSTRING "${VEXO_BUILD}" 0 16 VEXO_BUILD)
configure_file(${TEMPLATE} ${DIR}/sw.js @ONLY)
