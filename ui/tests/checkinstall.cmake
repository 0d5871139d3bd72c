# Fails unless every file a desktop needs was installed where it looks for it.
set(expected
    bin/tarvell
    share/applications/${APP_ID}.desktop
    share/metainfo/${APP_ID}.metainfo.xml
    share/man/man1/tarvell.1.gz
    share/doc/tarvell/changelog.Debian.gz
    share/doc/tarvell/copyright)
foreach(size 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
foreach(file IN LISTS expected)
  if(NOT EXISTS ${STAGE}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
# The program looks for its banner module at this path relative to itself.
if(NOT EXISTS ${STAGE}/bin/${MODULE_FROM_BIN})
  message(FATAL_ERROR "banner module not installed at bin/${MODULE_FROM_BIN}")
endif()
# Qt Network and what it pulls in are the module's alone; the program maps them only on demand.
file(GET_RUNTIME_DEPENDENCIES EXECUTABLES ${STAGE}/bin/tarvell
     RESOLVED_DEPENDENCIES_VAR linked UNRESOLVED_DEPENDENCIES_VAR unresolved)
list(FILTER linked INCLUDE REGEX "libQt6Network|libgssapi|libproxy")
if(linked)
  message(FATAL_ERROR "the program links network libraries at start: ${linked}")
endif()
file(STRINGS ${STAGE}/share/applications/${APP_ID}.desktop icon_line REGEX "^Icon=")
if(NOT icon_line STREQUAL "Icon=${APP_ID}")
  message(FATAL_ERROR "desktop entry names icon '${icon_line}'")
endif()
file(STRINGS ${STAGE}/share/metainfo/${APP_ID}.metainfo.xml release REGEX "<release ")
string(REPLACE "." "\\." version_pattern "${VERSION}")
if(NOT release MATCHES "version=\"${version_pattern}\"")
  message(FATAL_ERROR "metainfo release is not ${VERSION}: ${release}")
endif()
