# The program entry, and the end of this process it calls when the window closes.
list(APPEND QIREQ_APP_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../platform/ProcessEnd.h)
if(WIN32)
  list(APPEND QIREQ_APP_SOURCES ${CMAKE_CURRENT_LIST_DIR}/../platform/ProcessEnd_win.cpp)
else()
  list(APPEND QIREQ_APP_SOURCES ${CMAKE_CURRENT_LIST_DIR}/../platform/ProcessEnd_posix.cpp)
endif()
