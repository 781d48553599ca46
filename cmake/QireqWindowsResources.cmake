# qireq_windows_resources(<target> <description>): on Windows, gives the
# program the icon (drawn from data/com.example.qireq.svg at the sizes
# Explorer asks for) and a version resource.
function(qireq_windows_resources target description)
  if(NOT WIN32)
    return()
  endif()
  set(ico ${PROJECT_BINARY_DIR}/qireq.ico)
  if(NOT TARGET qireq_windows_icon)
    find_program(QIREQ_RSVG_CONVERT rsvg-convert REQUIRED)
    find_program(QIREQ_IMAGEMAGICK convert REQUIRED)
    set(svg ${PROJECT_SOURCE_DIR}/data/com.example.qireq.svg)
    set(pngs)
    set(commands)
    foreach(size 16 24 32 48 64 256)
      set(png ${PROJECT_BINARY_DIR}/qireq-icon-${size}.png)
      list(APPEND pngs ${png})
      list(APPEND commands COMMAND ${QIREQ_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${svg})
    endforeach()
    add_custom_command(OUTPUT ${ico}
      ${commands}
      COMMAND ${QIREQ_IMAGEMAGICK} ${pngs} ${ico}
      DEPENDS ${svg}
      VERBATIM)
    add_custom_target(qireq_windows_icon DEPENDS ${ico})
  endif()
  set(QIREQ_RC_NAME ${target})
  set(QIREQ_RC_FILE ${target}.exe)
  set(QIREQ_RC_DESCRIPTION ${description})
  set(QIREQ_RC_ICON ${ico})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/data/qireq.rc.in ${rc} @ONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${ico})
  target_sources(${target} PRIVATE ${rc})
  add_dependencies(${target} qireq_windows_icon)
endfunction()
