# SPDX-License-Identifier: GPL-2.0-or-later
# Installing Brevan's commands. Each command in the user's PATH is one line:
#
#   brevan_install_command(brevan-omi "importa le quotazioni OMI")
#
# which installs the program under bin/ with its Italian manual page, made
# at build time from the command's own --help (cmake/manpage.cmake) plus
# dist/man/<name>.1.extra when there is one (examples, files), and lists it
# for the test that checks every command's --help, --version and exit
# statuses.
include(GNUInstallDirs)

set(BREVAN_APP_ID it.brevan.Brevan)
# Where the metafile child program goes, and how the programs in bin/ reach
# it from wherever the tree was installed (a prefix, a package root).
set(BREVAN_LIBEXEC_SUBDIR ${CMAKE_INSTALL_LIBEXECDIR}/brevan)
file(RELATIVE_PATH BREVAN_LIBEXEC_FROM_BIN
     ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${BREVAN_LIBEXEC_SUBDIR})

set(BREVAN_RELEASE_DATE 2026-12-10)
find_program(BREVAN_GZIP gzip REQUIRED)

# The guide in HTML, installed under share/doc/brevan, which "Guida di Brevan"
# opens: the program finds it from its own folder, and the build tree puts it
# at the same place relative to the program (dist/CMakeLists.txt).
file(RELATIVE_PATH BREVAN_DOC_FROM_BIN
     ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/doc/brevan)

function(brevan_install_command target summary)
  set(page ${PROJECT_BINARY_DIR}/man/${target}.1)
  set(extra ${PROJECT_SOURCE_DIR}/dist/man/${target}.1.extra)
  set(depends ${target} ${PROJECT_SOURCE_DIR}/cmake/manpage.cmake)
  if(EXISTS ${extra})
    list(APPEND depends ${extra})
  endif()
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:${target}> -DNAME=${target} -DSUMMARY=${summary}
            -DEXTRA=${extra} -DDATE=${BREVAN_RELEASE_DATE} -DOUT=${page} -P ${PROJECT_SOURCE_DIR}/cmake/manpage.cmake
    COMMAND ${BREVAN_GZIP} -9nkf ${page}
    DEPENDS ${depends} VERBATIM)
  add_custom_target(${target}-manpage ALL DEPENDS ${page}.gz)
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  set_property(GLOBAL APPEND PROPERTY BREVAN_COMMANDS ${target})
endfunction()

# A program that Brevan's commands run themselves, never the user.
function(brevan_install_helper target)
  install(TARGETS ${target} RUNTIME DESTINATION ${BREVAN_LIBEXEC_SUBDIR})
  set_property(GLOBAL APPEND PROPERTY BREVAN_HELPERS ${target})
endfunction()
