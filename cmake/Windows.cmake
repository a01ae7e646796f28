# The Windows build: what it leaves out, and what each program carries.
#   dvdutil_windows_program(<target>)
#       Embeds the application manifest (the Windows versions the program
#       supports, so that GetVersionExA tells the truth).
set(DVDUTIL_WINDOWS_MANIFEST_RC ${CMAKE_CURRENT_LIST_DIR}/windows/application.rc)

function(dvdutil_windows_program target)
  if(WIN32)
    target_sources(${target} PRIVATE ${DVDUTIL_WINDOWS_MANIFEST_RC})
  endif()
endfunction()
