# The device list shared by the GUI thread and the discovery threads.
list(APPEND QIREQ_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/DeviceEntry.h
  ${CMAKE_CURRENT_LIST_DIR}/ProcessFlags.h
  ${CMAKE_CURRENT_LIST_DIR}/DeviceList.h
  ${CMAKE_CURRENT_LIST_DIR}/DeviceList.cpp)
