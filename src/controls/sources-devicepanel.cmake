# The device tile and its mouse-aware labels.
list(APPEND QIREQ_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/MouseLabel.h
  ${CMAKE_CURRENT_LIST_DIR}/MouseLabel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Devicepanel.h
  ${CMAKE_CURRENT_LIST_DIR}/Devicepanel.cpp)
