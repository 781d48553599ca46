# Filter design and the response curves of the plot (GUI-free).
list(APPEND QIREQ_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/BiquadDesign.h
  ${CMAKE_CURRENT_LIST_DIR}/BiquadDesign.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BandResponse.h
  ${CMAKE_CURRENT_LIST_DIR}/BandResponse.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ResponseCurves.h
  ${CMAKE_CURRENT_LIST_DIR}/ResponseCurves.cpp)
# The response loop is written for the compiler to vectorise, which GCC and
# Clang do at -O3 only; this one file gets it in every build type. Products
# are not fused into multiply-adds: near 0 Hz the denominator nearly cancels,
# and fused rounding there would move the curve from the plain evaluation.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/BandResponse.cpp
  PROPERTIES COMPILE_OPTIONS "$<$<CXX_COMPILER_ID:GNU,Clang>:-O3;-ffp-contract=off>")
