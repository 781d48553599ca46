# The main window, its pictures and its message boxes.
list(APPEND QIREQ_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Artwork.h
  ${CMAKE_CURRENT_LIST_DIR}/Artwork.cpp)
