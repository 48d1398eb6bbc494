# Installation into the standard locations, and a Debian package built with CPack.
include(GNUInstallDirs)

set(QUILLNOTE_ID "org.quillnote.Quillnote")

install(TARGETS quillnote RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The menu entry starts the program through a launcher that changes into the user's notes
# folder first, since the program keeps its notes under Data in its working directory.
configure_file(${CMAKE_CURRENT_LIST_DIR}/quillnote-launch.in
               ${CMAKE_CURRENT_BINARY_DIR}/quillnote-launch @ONLY)
install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/quillnote-launch
        DESTINATION ${CMAKE_INSTALL_BINDIR})
configure_file(${CMAKE_CURRENT_LIST_DIR}/quillnote.desktop.in
               ${CMAKE_CURRENT_BINARY_DIR}/${QUILLNOTE_ID}.desktop @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${QUILLNOTE_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
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

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillnote)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quillnote developers <maintainers@users.noreply.c-seed-fdde2740.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Notebook for what you learn about programming languages")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quillnote keeps what a programmer learns about programming languages: nine\n languages, fifteen pages each, ten topics a page, as plain text files.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quillnote.org")
set(CPACK_STRIP_FILES ON)
include(CPack)
