# Run by `cmake --install`: writes the desktop entry for the prefix being installed to.
set(prefix "${CMAKE_INSTALL_PREFIX}")
set(launcher "${prefix}/${TARVOLIN_BINDIR}/tarvolin-launcher")
set(exec "${launcher}")
if(exec MATCHES " ")
  set(exec "\"${exec}\"")  # a path with blanks is one argument only when quoted
endif()
file(READ "${TARVOLIN_DESKTOP_TEMPLATE}" entry)
string(REPLACE "@LAUNCHER@" "${exec}" entry "${entry}")
string(REPLACE "@TRYEXEC@" "${launcher}" entry "${entry}")
string(REPLACE "@ICON@" "${prefix}/${TARVOLIN_DATADIR}/icons/hicolor/scalable/apps/tarvolin.svg"
       entry "${entry}")
set(path "$ENV{DESTDIR}${prefix}/${TARVOLIN_DATADIR}/applications/tarvolin.desktop")
message(STATUS "Installing: ${path}")
file(WRITE "${path}" "${entry}")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${path}")
