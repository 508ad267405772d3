# Writes the page's service worker: the files it stores at install (FILES) and when the browser
# asks for them (LATER), and its cache named after the hash of them all, so that every build
# that changes any of them is a new cache.
# Usage: cmake -DDIR=BUILD_DIR -DTEMPLATE=sw.js -DFILES=a,b -DLATER=c,d -P service_worker.cmake
string(REPLACE "," ";" FILES "${FILES}")
string(REPLACE "," ";" LATER "${LATER}")
set(hashes "")
foreach(file ${FILES} ${LATER})
  file(SHA256 ${DIR}/${file} hash)
  string(APPEND hashes "${hash}")
endforeach()
string(SHA256 VEXO_BUILD "${hashes}")
string(SUBSTRING "${VEXO_BUILD}" 0 16 VEXO_BUILD)
list(JOIN FILES "," VEXO_SW_FILES)
list(JOIN LATER "," VEXO_SW_LATER)
configure_file(${TEMPLATE} ${DIR}/sw.js @ONLY)
