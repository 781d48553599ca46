# The connecting dialog.
list(APPEND QIREQ_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Progressform.h
  ${CMAKE_CURRENT_LIST_DIR}/Progressform.cpp)
