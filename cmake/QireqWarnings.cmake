# Warnings for the project's own targets. Qt and system headers are included
# as system headers, so only our code is judged.
function(qireq_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /permissive-)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
      -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual
      -Wconversion -Wsign-conversion -Wimplicit-fallthrough -Wnull-dereference)
  endif()
endfunction()
