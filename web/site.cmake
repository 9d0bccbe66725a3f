# SPDX-License-Identifier: GPL-3.0-or-later
# Assembles the web site around the compiled game (zirkulon.js and
# zirkulon.wasm, already in SITE): copies the page's files, makes page.js of
# its parts, copies the font with its licence, draws the icons, and writes
# the service worker with the list of files to keep and a cache name that
# changes with their contents; then the single-file page (SINGLE) and the
# precompressed copies.
# Called as: cmake -DSOURCE=... -DSITE=... -DSINGLE=... -DFONT_DIR=... -DNODE=...
#                  -DFIRST_PICTURE=... -DPAGES=... -P site.cmake
foreach(page ${PAGES})
  configure_file(${SOURCE}/${page} ${SITE}/${page} COPYONLY)
endforeach()

# page.js: page/main.js, then the other parts, in this order, as the body of
# its startPage.
file(READ ${SOURCE}/page/main.js script)
string(APPEND script "\nfunction startPage() {\n")
foreach(part window input boxes game)
  file(READ ${SOURCE}/page/${part}.js text)
  string(APPEND script "\n${text}")
endforeach()
string(APPEND script "}\n")
# The game's first picture, as the game itself draws it when it starts
# (first-picture.js), goes where game.js keeps it.
execute_process(COMMAND ${NODE} ${FIRST_PICTURE} OUTPUT_VARIABLE drawing RESULT_VARIABLE failed)
set(slot "[/* recorded by the build */]")
string(FIND "${script}" "${slot}" at)
if(failed OR NOT drawing MATCHES "^\\[\\[\"setDesign\"" OR at EQUAL -1)
  message(FATAL_ERROR "could not record the game's first picture for page.js (${failed}: ${drawing})")
endif()
string(REPLACE "${slot}" "${drawing}" script "${script}")
file(WRITE ${SITE}/page.js "${script}")
configure_file(${FONT_DIR}/ComicNeue-Regular.woff2 ${SITE}/ComicNeue-Regular.woff2 COPYONLY)
configure_file(/usr/share/doc/fonts-comic-neue/copyright ${SITE}/ComicNeue-LICENSE.txt COPYONLY)

foreach(size 192 512)
  if(NOT EXISTS ${SITE}/icon-${size}.png OR ${SOURCE}/make-icon.js IS_NEWER_THAN ${SITE}/icon-${size}.png)
    execute_process(COMMAND ${NODE} ${SOURCE}/make-icon.js ${SITE}/icon-${size}.png ${size}
                    RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "could not draw icon-${size}.png")
    endif()
  endif()
endforeach()

set(files index.html page.js zirkulon.css zirkulon.js zirkulon.wasm manifest.webmanifest
          LICENSES.txt ComicNeue-Regular.woff2 ComicNeue-LICENSE.txt icon-192.png icon-512.png)
set(contents "")
set(SITE_FILES "'./'")
foreach(file ${files})
  file(SHA256 ${SITE}/${file} hash)
  string(APPEND contents "${hash}")
  string(APPEND SITE_FILES ", '${file}'")
endforeach()
string(SHA256 SITE_HASH "${contents}")
string(SUBSTRING "${SITE_HASH}" 0 16 SITE_HASH)
configure_file(${SOURCE}/sw.js.in ${SITE}/sw.js @ONLY)

foreach(step "single-file.js;${SITE};${SINGLE}" "compress.js;${SITE}")
  list(POP_FRONT step script)
  execute_process(COMMAND ${NODE} ${SOURCE}/${script} ${step} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${script} failed")
  endif()
endforeach()
