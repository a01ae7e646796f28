# The Windows build: what it leaves out, and what each program carries.
#   dvdutil_windows_program(<target>)
#       Embeds the application manifest (the Windows versions the program
#       supports, so that GetVersionExA tells the truth).
#   dvdutil_windows_gui_program(<target> [DESCRIPTION <one line>] [NO_INSTALL])
#       A windowed program: the WIN32 subsystem (no console), comctl32, the
#       manifest with the common controls 6 (the system's look, and what the
#       dialogs' tree and progress controls come from), version information,
#       and the executable installed into bin/ beside the tools (unless
#       NO_INSTALL: test programs).
set(DVDUTIL_WINDOWS_MANIFEST_RC ${CMAKE_CURRENT_LIST_DIR}/windows/application.rc)

function(dvdutil_windows_program target)
  if(WIN32)
    target_sources(${target} PRIVATE ${DVDUTIL_WINDOWS_MANIFEST_RC})
  endif()
endfunction()

# The windowed programs' manifest: the application manifest and the
# dependency on the common controls 6.
set(DVDUTIL_GUI_MANIFEST_DEPENDENCY [==[
  <dependency>
    <dependentAssembly>
      <assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0"
                        processorArchitecture="*" publicKeyToken="6595b64144ccf1df" language="*"/>
    </dependentAssembly>
  </dependency>
</assembly>]==])

function(dvdutil_windows_gui_program target)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(ARG "NO_INSTALL" "DESCRIPTION" "" ${ARGN})
  set(manifest ${PROJECT_BINARY_DIR}/generated/gui_application.manifest)
  set(source ${PROJECT_SOURCE_DIR}/cmake/windows/application.manifest)
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  file(READ ${source} text)
  string(REPLACE "</assembly>" "${DVDUTIL_GUI_MANIFEST_DEPENDENCY}" text "${text}")
  file(CONFIGURE OUTPUT ${manifest} CONTENT "${text}" @ONLY)
  set(DVDUTIL_GUI_MANIFEST ${manifest})
  set(DVDUTIL_GUI_TARGET ${target})
  set(DVDUTIL_GUI_DESCRIPTION "${ARG_DESCRIPTION}")
  if(NOT DVDUTIL_GUI_DESCRIPTION)
    set(DVDUTIL_GUI_DESCRIPTION ${target})
  endif()
  set(DVDUTIL_VERSION_MINOR ${PROJECT_VERSION_MINOR})
  if(DVDUTIL_VERSION_MINOR STREQUAL "")
    set(DVDUTIL_VERSION_MINOR 0)
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/gui_program.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  # windres reads the manifest; CMake's scan of the .rc does not see it.
  set_source_files_properties(${rc} TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS ${manifest})
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE TRUE)
  target_link_libraries(${target} PRIVATE comctl32)
  if(NOT ARG_NO_INSTALL)
    install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endfunction()
