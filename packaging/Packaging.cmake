# Installation into the standard locations, and a Debian package built with CPack.
include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/ReleaseNotes.cmake)

set(QUILLNOTE_ID "org.quillnote.Quillnote")
set(QUILLNOTE_DEVELOPER_ID "org.quillnote")
set(QUILLNOTE_CONTACT "Quillnote developers <maintainers@users.noreply.c-seed-fdde2740.example>")
# The README's pictures, as the repository serves them.
set(QUILLNOTE_PICTURES_URL "${PROJECT_HOMEPAGE_URL}/raw/main/docs")
# The Debian revision of the package: 1 for the first package of each version.
set(QUILLNOTE_DEBIAN_REVISION 1)
set(_doc ${CMAKE_INSTALL_DATAROOTDIR}/doc/quillnote)
set(_made ${CMAKE_CURRENT_BINARY_DIR}/packaging)

# Folders a package creates are readable by everyone, whatever the builder's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS quillnote RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The menu entry starts the program through a launcher that changes into the user's notes
# folder first, since the program keeps its notes under Data in its working directory.
# Both name installed files by their full path, which is only known when installing
# (`cmake --install --prefix ...`, or /usr inside the Debian package), so they are written
# then. A stripped install (the package's) also drops the compiler's notes from the program.
install(CODE "
  set(QUILLNOTE_ID \"${QUILLNOTE_ID}\")
  set(QUILLNOTE_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
  set(QUILLNOTE_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
  set(QUILLNOTE_SOURCE \"${CMAKE_CURRENT_LIST_DIR}\")
  set(QUILLNOTE_WORK \"${_made}\")
  set(QUILLNOTE_STRIP \"${CMAKE_STRIP}\")
")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/InstallEntry.cmake)

# The release notes give the changelogs, the metadata's release entries and the date of the
# manual pages.
quillnote_release_notes(${CMAKE_CURRENT_LIST_DIR}/releases.txt "${PROJECT_VERSION}"
                        "${QUILLNOTE_DEBIAN_REVISION}" "${QUILLNOTE_CONTACT}" "${_made}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/quillnote.metainfo.xml.in
               ${_made}/${QUILLNOTE_ID}.metainfo.xml @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/copyright.in ${_made}/copyright @ONLY)
install(FILES ${_made}/${QUILLNOTE_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_made}/copyright DESTINATION ${_doc})

# Manual pages and changelogs are installed compressed, as Debian keeps them; gzip -n leaves
# out the name and time, so the same sources give the same bytes.
foreach(page quillnote quillnote-launch)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/${page}.1.in ${_made}/${page}.1 @ONLY)
endforeach()
foreach(file quillnote.1 quillnote-launch.1 changelog changelog.Debian)
  execute_process(COMMAND gzip -9nc ${_made}/${file} OUTPUT_FILE ${_made}/${file}.gz
                  RESULT_VARIABLE _gzip)
  if(NOT _gzip EQUAL 0)
    message(FATAL_ERROR "gzip ${_made}/${file} failed: ${_gzip}")
  endif()
endforeach()
install(FILES ${_made}/quillnote.1.gz ${_made}/quillnote-launch.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_made}/changelog.gz ${_made}/changelog.Debian.gz DESTINATION ${_doc})

# The lintian tags the package accepts, each with its reason.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME quillnote)

foreach(size 16 32 48 64 128 256)
  if(EXISTS ${PROJECT_SOURCE_DIR}/resources/icons/quillnote-${size}.png)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/quillnote-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${QUILLNOTE_ID}.png)
  endif()
endforeach()
if(EXISTS ${PROJECT_SOURCE_DIR}/resources/icons/quillnote.svg)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/quillnote.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          RENAME ${QUILLNOTE_ID}.svg)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillnote)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${QUILLNOTE_DEBIAN_REVISION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "${QUILLNOTE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quillnote keeps what a programmer learns about programming languages: nine\n languages, fifteen pages each, ten topics a page, as plain text files.")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The Qt libraries the executable links become the package's dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The editor's default font is Calibri, drawn with its metric twin Carlito when installed.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-crosextra-carlito")
# Manrope and the Wine Tahoma faces stay built into the program instead of coming from
# fonts-manrope and fonts-wine: Debian keeps Wine's fonts out of the fonts folder on purpose
# (they break other programs), so they could only be read from Wine's private folder; the
# two packages add more than the 0.55 MB the four faces take; and only these exact files
# give the designed look, which a newer packaged font would change.
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_STRIP_FILES ON)
include(CPack)

if(QUILLNOTE_TESTS AND QUILLNOTE_HARDENED AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
  # Staging install, validators, menu-entry launches under Xvfb, and the Debian package with
  # the checks a Debian maintainer runs on it. The package is packed from this build, so only
  # an optimised build with the package's hardening flags (not a sanitizer build) runs it.
  add_test(NAME packaging_install
           COMMAND bash ${PROJECT_SOURCE_DIR}/tests/pkg/install_check.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(packaging_install PROPERTIES TIMEOUT 600)
endif()
