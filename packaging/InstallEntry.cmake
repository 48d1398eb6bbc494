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

# A stripped install (cmake --install --strip, and the Debian package) also leaves out the
# compiler's identification and notes, as Debian's own packages do.
if(CMAKE_INSTALL_DO_STRIP AND QUILLNOTE_STRIP)
  execute_process(COMMAND "${QUILLNOTE_STRIP}" --remove-section=.comment --remove-section=.note
                          "$ENV{DESTDIR}${_bindir}/quillnote" RESULT_VARIABLE _status)
  if(NOT _status EQUAL 0)
    message(FATAL_ERROR "stripping $ENV{DESTDIR}${_bindir}/quillnote failed: ${_status}")
  endif()
endif()

# The launcher names the program as one word of the shell: in single quotes, each single
# quote of the path written as '\''.
string(REPLACE "'" "'\\''" _program "${_bindir}/quillnote")
set(QUILLNOTE_PROGRAM_SH "'${_program}'")

# The menu entry's Exec names the launcher by the desktop entry rules: a path holding a
# space or another reserved character goes in double quotes, inside which " ` $ and \ take
# a backslash; % is written %%; and, as in every string value of the entry, each backslash
# is then written twice.
set(_exec "${_bindir}/quillnote-launch")
if(_exec MATCHES "[ \t\n\"'\\\\<>~|&;$*?#()`]")
  string(REPLACE "\\" "\\\\" _exec "${_exec}")
  string(REPLACE "\"" "\\\"" _exec "${_exec}")
  string(REPLACE "`" "\\`" _exec "${_exec}")
  string(REPLACE "$" "\\$" _exec "${_exec}")
  set(_exec "\"${_exec}\"")
endif()
string(REPLACE "%" "%%" _exec "${_exec}")
string(REPLACE "\\" "\\\\" _exec "${_exec}")
if(_exec MATCHES "[\n\r]")
  message(FATAL_ERROR "a menu entry cannot name a program whose path holds a line break: ${_bindir}")
endif()
set(QUILLNOTE_EXEC "${_exec}")

# One work folder per target, so installs to different places never share a half-written file.
string(MD5 _key "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(_work "${QUILLNOTE_WORK}/${_key}")
configure_file("${QUILLNOTE_SOURCE}/quillnote-launch.in" "${_work}/quillnote-launch" @ONLY)
configure_file("${QUILLNOTE_SOURCE}/quillnote.desktop.in" "${_work}/${QUILLNOTE_ID}.desktop" @ONLY)

file(INSTALL DESTINATION "${_bindir}" TYPE PROGRAM FILES "${_work}/quillnote-launch")
file(INSTALL DESTINATION "${_datadir}/applications" TYPE FILE
     FILES "${_work}/${QUILLNOTE_ID}.desktop")
