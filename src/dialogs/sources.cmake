# The small dialogs.
list(APPEND QIREQ_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/About.h
  ${CMAKE_CURRENT_LIST_DIR}/About.cpp)
