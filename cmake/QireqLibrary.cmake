# qireq_library(<name> SOURCES <files...> LINKS <targets...>)
# One static library per source folder, named after it. The folder's own
# CMakeLists.txt names its sources and the libraries it may use, which are
# always folders below it (scripts/check-layers.py checks the includes).
# Headers are included by their path from src/, as "eq/EqBand.h".
# QIREQ_UNITY_BUILD compiles each library's sources a few at a time in one
# unit, which parses Qt's headers once for all of them (CI's builds).
function(qireq_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  qireq_warnings(${name})
  qireq_unity(${name})
endfunction()

# qireq_unity(<target>): with QIREQ_UNITY_BUILD, the target's sources are
# compiled a few at a time in one unit.
function(qireq_unity target)
  if(QIREQ_UNITY_BUILD)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON)
  endif()
endfunction()
