# The Debian packages of the program, made by CPack's DEB generator
# (scripts/package.sh builds them):
#   trevix              the program, trevix-seg and trevix-analyse, the data they read from
#                       <prefix>/share/trevix, the desktop entry, icons, AppStream metadata
#                       and manual pages (install component "program")
#   trevix-inputmethod  the Qorvan input method's tables for IBus and Fcitx 5 (component
#                       "inputmethod", which scripts/install-input-method.sh installs alone)
# Both carry the copyright file and the changelog in /usr/share/doc/<package>/; those of
# trevix-inputmethod are a component of their own ("inputmethod_doc"), grouped with the
# tables into the package.
# The packages install where the program looks: configure with
# -DCMAKE_INSTALL_PREFIX=/usr.

set(packaging_src "${CMAKE_SOURCE_DIR}/packaging")
set(packaging_out "${CMAKE_BINARY_DIR}/packaging")

# The changelog's newest entry names the version that the packages get.
file(STRINGS "${packaging_src}/changelog" changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^trevix \\(([^)]+)\\) ")
  message(FATAL_ERROR "packaging/changelog: the first line is not a changelog entry's head")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "packaging/changelog: its newest entry is ${CMAKE_MATCH_1}, the project "
                      "is ${PROJECT_VERSION}: add an entry for ${PROJECT_VERSION}")
endif()

# The manual pages name the version and the month of the changelog's newest entry.
file(STRINGS "${packaging_src}/changelog" changelog_sign REGEX "^ -- " LIMIT_COUNT 1)
if(NOT changelog_sign MATCHES ", [0-9]+ ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "packaging/changelog: the newest entry has no date")
endif()
set(TREVIX_MAN_DATE "${CMAKE_MATCH_1} ${CMAKE_MATCH_2}")
set(man_pages trevix.1 trevix-seg.1 trevix-analyse.1)
foreach(f IN LISTS man_pages)
  configure_file("${packaging_src}/man/${f}" "${packaging_out}/man/${f}" @ONLY)
endforeach()

# Compressed as Debian wants them: gzip -9, without name or time stamp.
find_program(TREVIX_GZIP gzip REQUIRED)
set(gzipped)
foreach(f IN ITEMS changelog LISTS man_pages)
  if(f STREQUAL "changelog")
    set(in "${packaging_src}/changelog")
  else()
    set(in "${packaging_out}/man/${f}")
  endif()
  add_custom_command(
    OUTPUT "${packaging_out}/${f}.gz"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${packaging_out}"
    COMMAND sh -c "\"$1\" -9 -n -c \"$2\" > \"$3\"" sh "${TREVIX_GZIP}" "${in}"
            "${packaging_out}/${f}.gz"
    DEPENDS "${in}"
    COMMENT "Compressing ${f}"
    VERBATIM)
  list(APPEND gzipped "${packaging_out}/${f}.gz")
endforeach()
add_custom_target(packagingdocs ALL DEPENDS ${gzipped})

foreach(package IN ITEMS trevix trevix-inputmethod)
  if(package STREQUAL "trevix")
    set(component program)
  else()
    set(component inputmethod_doc)
  endif()
  install(FILES "${packaging_src}/copyright" "${packaging_out}/changelog.gz"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/${package}" COMPONENT ${component})
endforeach()
foreach(f IN LISTS man_pages)
  install(FILES "${packaging_out}/${f}.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1"
          COMPONENT program)
endforeach()
# qorvan.txt is the item list that the built-in lessons read, not documentation.
install(FILES "${packaging_src}/lintian/trevix" DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides"
        COMPONENT program)

# --- CPack ---------------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trevix)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Trevix developers")
set(CPACK_COMPONENTS_ALL program inputmethod inputmethod_doc)
set(CPACK_DEB_COMPONENT_INSTALL ON)
# One package for each group, one for each component outside a group.
set(CPACK_COMPONENTS_GROUPING ONE_PER_GROUP)
set(CPACK_COMPONENT_INPUTMETHOD_GROUP tables)
set(CPACK_COMPONENT_INPUTMETHOD_DOC_GROUP tables)
# The packages install below the prefix that the program was built for.
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
set(CPACK_TREVIX_STRIP "${CMAKE_STRIP}")
set(CPACK_PRE_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/TrevixStripSections.cmake")
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}/packages")

set(TREVIX_PACKAGE_MAINTAINER "Trevix developers <trevix@example.org>" CACHE STRING
    "The Maintainer field of the Debian packages (name <address>)")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TREVIX_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SOURCE trevix)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# trevix: the linked libraries' packages are found by dpkg-shlibdeps; these are what
# the program loads or runs without linking it: Qt's SQLite driver (jtdb.dat, the
# results history), Qt's X11 platform plugin (qt6-qpa-plugins), the Kai font that stands in for
# 楷体_GB2312. Recommended: the tables, Qt's Chinese dialogs, the Fcitx 5 module of Qt 6
# (IBus's is part of Qt), libime_tabledict and gsettings (custom words for Fcitx 5 and
# IBus) and a Song/Ming font for the rest of the windows.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME trevix)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS "libqt6sql6-sqlite, qt6-qpa-plugins, fonts-arphic-ukai")
set(CPACK_DEBIAN_PROGRAM_PACKAGE_RECOMMENDS
    "trevix-inputmethod (= ${PROJECT_VERSION}), qt6-translations-l10n, fcitx5-frontend-qt6, libime-bin, libglib2.0-bin, fonts-arphic-uming")
set(CPACK_DEBIAN_PROGRAM_DESCRIPTION
    "tutor of word-by-word Chinese typing with the Qorvan input method
Qorvan输入法第四版分词教学系统 teaches and tests word-by-word typing of Chinese
with the Qorvan numeric shape-code input method. It splits a text into words,
shows the words in alternating colours, checks every character that the input
method commits, times the test, and reports accuracy, speed, the learner's word
lengths and what the text costs in keystrokes. A segmentation editor corrects
the segmentation by hand and saves it as an example; a history keeps every
test's results.

The package holds two command-line tools as well: trevix-seg splits Chinese
text into words, trevix-analyse prints the keystroke counts of text files.")

# trevix-inputmethod (the group "tables"): data only; the frameworks that read the tables
# are recommended (fcitx5-table does not bring Fcitx 5 itself, ibus-table brings IBus).
set(CPACK_DEBIAN_TABLES_PACKAGE_NAME trevix-inputmethod)
set(CPACK_DEBIAN_TABLES_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_TABLES_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_TABLES_PACKAGE_RECOMMENDS "ibus-table, fcitx5, fcitx5-table")
set(CPACK_DEBIAN_TABLES_PACKAGE_CONTROL_EXTRA
    "${packaging_src}/inputmethod/postinst;${packaging_src}/inputmethod/postrm")
set(CPACK_DEBIAN_TABLES_DESCRIPTION
    "Qorvan numeric shape-code input method for IBus and Fcitx 5
The tables of the Qorvan input method (Qorvan输入法第四版), which types
Chinese characters and words by digits taken from the characters' four-corner
codes: an ibus-table table for IBus and a table input method for Fcitx 5.
The word-typing tutor trevix tests typing with it.")

include(CPack)
