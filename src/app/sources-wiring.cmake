# The main window's parts and their wiring: the reply hand-offs, the preset
# commands and the seams tests use.
list(APPEND QIREQ_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/MainWindowSeams.h
  ${CMAKE_CURRENT_LIST_DIR}/MainWindowParts.h
  ${CMAKE_CURRENT_LIST_DIR}/WindowHandoffs.h
  ${CMAKE_CURRENT_LIST_DIR}/WindowHandoffs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PresetCommands.h
  ${CMAKE_CURRENT_LIST_DIR}/PresetCommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Unit1Parts.cpp)
