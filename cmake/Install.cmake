# Installation of the suite: each program adds itself from its own CMakeLists
# with one line.
#
#   dvdutil_install_program(<target> NAME <menu name> COMMENT <one line>
#                           [ICON <svg>])
#       A windowed program: the executable into bin/, a desktop entry
#       share/applications/<target>.desktop that starts it from where it was
#       installed, and its icon share/icons/hicolor/scalable/apps/<target>.svg
#       (by default resources/desktop/<target>.svg).
#   dvdutil_install_tool(<target>)
#       A command-line tool: the executable into bin/.
#
# Every program lands in the same bin/ folder, so toolgate finds the programs
# it starts beside itself.
include(GNUInstallDirs)

function(dvdutil_install_program target)
  cmake_parse_arguments(ARG "" "NAME;COMMENT;ICON" "" ${ARGN})
  if(NOT ARG_NAME OR NOT ARG_COMMENT)
    message(FATAL_ERROR "dvdutil_install_program(${target}): NAME and COMMENT are required")
  endif()
  if(NOT ARG_ICON)
    set(ARG_ICON ${PROJECT_SOURCE_DIR}/resources/desktop/${target}.svg)
  endif()
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${ARG_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          RENAME ${target}.svg)
  # The entry is written at install time: only then is the prefix known.
  install(CODE "
    set(DVDUTIL_EXEC \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${target}\")
    set(DVDUTIL_NAME [==[${ARG_NAME}]==])
    set(DVDUTIL_COMMENT [==[${ARG_COMMENT}]==])
    set(DVDUTIL_ICON ${target})
    set(entry \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/${target}.desktop\")
    message(STATUS \"Installing: \${entry}\")
    configure_file([==[${PROJECT_SOURCE_DIR}/cmake/program.desktop.in]==] \"\${entry}\" @ONLY)
  ")
endfunction()

function(dvdutil_install_tool target)
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()

# The project version for scripts that package the build (scripts/package.sh);
# written only when it changes.
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/dvdutil_version.txt CONTENT "${PROJECT_VERSION}\n")
