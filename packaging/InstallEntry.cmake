# Run at install time: writes the launcher and the menu entry for the prefix being installed
# to, then installs them. file(INSTALL) adds DESTDIR and records them in the install manifest.
if(IS_ABSOLUTE "${QUILLNOTE_BINDIR}")
  set(_bindir "${QUILLNOTE_BINDIR}")
else()
  set(_bindir "${CMAKE_INSTALL_PREFIX}/${QUILLNOTE_BINDIR}")
endif()
if(IS_ABSOLUTE "${QUILLNOTE_DATADIR}")
  set(_datadir "${QUILLNOTE_DATADIR}")
else()
  set(_datadir "${CMAKE_INSTALL_PREFIX}/${QUILLNOTE_DATADIR}")
endif()

set(QUILLNOTE_PROGRAM "${_bindir}/quillnote")
set(QUILLNOTE_LAUNCHER "${_bindir}/quillnote-launch")

# One work folder per target, so installs to different places never share a half-written file.
string(MD5 _key "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(_work "${QUILLNOTE_WORK}/${_key}")
configure_file("${QUILLNOTE_SOURCE}/quillnote-launch.in" "${_work}/quillnote-launch" @ONLY)
configure_file("${QUILLNOTE_SOURCE}/quillnote.desktop.in" "${_work}/${QUILLNOTE_ID}.desktop" @ONLY)

file(INSTALL DESTINATION "${_bindir}" TYPE PROGRAM FILES "${_work}/quillnote-launch")
file(INSTALL DESTINATION "${_datadir}/applications" TYPE FILE
     FILES "${_work}/${QUILLNOTE_ID}.desktop")
