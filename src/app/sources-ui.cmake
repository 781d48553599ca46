# The main window with its form, pictures, look, message boxes and small
# controls, and the application object.
list(APPEND QIREQ_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ApplicationTitle.h
  ${CMAKE_CURRENT_LIST_DIR}/Application.h
  ${CMAKE_CURRENT_LIST_DIR}/Application.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Artwork.h
  ${CMAKE_CURRENT_LIST_DIR}/Artwork.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DeviceChange.h
  ${CMAKE_CURRENT_LIST_DIR}/InfoMessage.h
  ${CMAKE_CURRENT_LIST_DIR}/InfoMessage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MessageBoxes.h
  ${CMAKE_CURRENT_LIST_DIR}/MessageBoxes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TScrollBox.h
  ${CMAKE_CURRENT_LIST_DIR}/TScrollBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TShape.h
  ${CMAKE_CURRENT_LIST_DIR}/TShape.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowStyle.h
  ${CMAKE_CURRENT_LIST_DIR}/WindowStyle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Unit1.h
  ${CMAKE_CURRENT_LIST_DIR}/Unit1.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Unit1Form.cpp)
