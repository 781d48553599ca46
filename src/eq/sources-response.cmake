# Filter design and the response curves of the plot (GUI-free).
list(APPEND QIREQ_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/BiquadDesign.h
  ${CMAKE_CURRENT_LIST_DIR}/BiquadDesign.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BandResponse.h
  ${CMAKE_CURRENT_LIST_DIR}/BandResponse.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ResponseCurves.h
  ${CMAKE_CURRENT_LIST_DIR}/ResponseCurves.cpp)
