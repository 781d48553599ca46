# The device column (tiles, selection frame, countdown, tile menu) and the
# status row.
list(APPEND QIREQ_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/DeviceTileColumn.h
  ${CMAKE_CURRENT_LIST_DIR}/DeviceTileColumn.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StatusDisplay.h
  ${CMAKE_CURRENT_LIST_DIR}/StatusDisplay.cpp)
