# Warnings are on for every target of ours and kept clean.
function(velk_set_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wcast-align -Wimplicit-fallthrough)
  if(VELK_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
