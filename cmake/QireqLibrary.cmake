# qireq_library(<name> SOURCES <files...> LINKS <targets...>)
# One static library per source folder, named after it. The folder's own
# CMakeLists.txt names its sources and the libraries it may use, which are
# always folders below it (scripts/check-layers.py checks the includes).
# Headers are included by their path from src/, as "eq/EqBand.h".
function(qireq_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  qireq_warnings(${name})
endfunction()
