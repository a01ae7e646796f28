# Installation of the suite: each program adds itself from its own CMakeLists
# with one line.
#
#   dvdutil_install_program(<target> NAME <menu name> COMMENT <one line>
#                           [ICON <svg>])
#       A windowed program: the executable into bin/, a desktop entry
#       share/applications/<target>.desktop that starts it from where it was
#       installed, and its icon share/icons/hicolor/scalable/apps/<target>.svg
#       (by default resources/desktop/<target>.svg).
#   dvdutil_install_tool(<target> DESCRIPTION <one line>)
#       A command-line tool: the executable into bin/.
#
# Each program also gets a man page, share/man/man1/<target>.1, made at build
# time by help2man from its --help and --version (DVDUTIL_MAN_PAGES, on by
# default; a cross build, whose programs cannot run here, makes none).
#
# Every program lands in the same bin/ folder, so toolgate finds the programs
# it starts beside itself.
#
# The Windows build installs a flat folder that runs as it is: every .exe at
# the top (statically linked, so no DLL of ours or of the compiler's), and
# neither desktop entries, icons nor man pages; NAME and COMMENT are not needed
# there.
include(GNUInstallDirs)

option(DVDUTIL_MAN_PAGES "Make the man pages with help2man" ON)
if(DVDUTIL_MAN_PAGES AND NOT CMAKE_CROSSCOMPILING)
  find_program(DVDUTIL_HELP2MAN help2man)
  if(NOT DVDUTIL_HELP2MAN)
    message(FATAL_ERROR "help2man is missing: run scripts/deps.sh, or configure with -DDVDUTIL_MAN_PAGES=OFF")
  endif()
endif()

# <target>.1 from the built program's --help and --version.
function(dvdutil_man_page target description)
  if(NOT DVDUTIL_MAN_PAGES OR CMAKE_CROSSCOMPILING)
    return()
  endif()
  set(page ${CMAKE_CURRENT_BINARY_DIR}/${target}.1)
  # The windowed programs answer on the terminal before any window exists;
  # no machine or display is needed.
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E env --unset=DVDUTIL_MACHINE QT_QPA_PLATFORM=offscreen
            ${DVDUTIL_HELP2MAN} --no-info --no-discard-stderr --section=1
            --name=${description} --output=${page} $<TARGET_FILE:${target}>
    DEPENDS ${target}
    COMMENT "Man page ${target}.1"
    VERBATIM)
  add_custom_target(${target}_man ALL DEPENDS ${page})
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

function(dvdutil_install_program target)
  cmake_parse_arguments(ARG "" "NAME;COMMENT;ICON" "" ${ARGN})
  if(WIN32)
    install(TARGETS ${target} RUNTIME DESTINATION .)
    return()
  endif()
  if(NOT ARG_NAME OR NOT ARG_COMMENT)
    message(FATAL_ERROR "dvdutil_install_program(${target}): NAME and COMMENT are required")
  endif()
  if(NOT ARG_ICON)
    set(ARG_ICON ${PROJECT_SOURCE_DIR}/resources/desktop/${target}.svg)
  endif()
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  dvdutil_man_page(${target} "${ARG_COMMENT}")
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
  cmake_parse_arguments(ARG "" "DESCRIPTION" "" ${ARGN})
  if(NOT ARG_DESCRIPTION)
    message(FATAL_ERROR "dvdutil_install_tool(${target}): DESCRIPTION is required")
  endif()
  if(WIN32)
    install(TARGETS ${target} RUNTIME DESTINATION .)
    return()
  endif()
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  dvdutil_man_page(${target} "${ARG_DESCRIPTION}")
endfunction()

# The project version for scripts that package the build (scripts/package.sh);
# written only when it changes.
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/dvdutil_version.txt CONTENT "${PROJECT_VERSION}\n")
