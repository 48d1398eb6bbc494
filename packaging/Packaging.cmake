# Installation into the standard locations, and a Debian package built with CPack.
include(GNUInstallDirs)

set(QUILLNOTE_ID "org.quillnote.Quillnote")
# Folders a package creates are readable by everyone, whatever the builder's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS quillnote RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The menu entry starts the program through a launcher that changes into the user's notes
# folder first, since the program keeps its notes under Data in its working directory.
# Both name installed files by their full path, which is only known when installing
# (`cmake --install --prefix ...`, or /usr inside the Debian package), so they are written then.
install(CODE "
  set(QUILLNOTE_ID \"${QUILLNOTE_ID}\")
  set(QUILLNOTE_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
  set(QUILLNOTE_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
  set(QUILLNOTE_SOURCE \"${CMAKE_CURRENT_LIST_DIR}\")
  set(QUILLNOTE_WORK \"${CMAKE_CURRENT_BINARY_DIR}/packaging\")
")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/InstallEntry.cmake)

install(FILES ${CMAKE_CURRENT_LIST_DIR}/quillnote.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo RENAME ${QUILLNOTE_ID}.metainfo.xml)

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

# The executable carries the bundled fonts; their licences travel with it.
file(GLOB _font_licences ${PROJECT_SOURCE_DIR}/resources/fonts/COPYING-*.txt)
install(FILES ${_font_licences} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/quillnote)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillnote)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Quillnote developers <maintainers@users.noreply.c-seed-fdde2740.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Notebook for what you learn about programming languages")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quillnote keeps what a programmer learns about programming languages: nine\n languages, fifteen pages each, ten topics a page, as plain text files.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The Qt libraries the executable links become the package's dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The editor's default font is Calibri, drawn with its metric twin Carlito when installed.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-crosextra-carlito")
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_STRIP_FILES ON)
include(CPack)

if(QUILLNOTE_TESTS)
  # Staging install, validators, a menu-entry launch under Xvfb and the Debian package.
  add_test(NAME packaging_install
           COMMAND bash ${PROJECT_SOURCE_DIR}/tests/pkg/install_check.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(packaging_install PROPERTIES TIMEOUT 300)
endif()
