# Warnings for our own targets; third-party headers come in as system includes.
function(dvdutil_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(DVDUTIL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
