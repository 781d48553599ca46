# The serial port list and the device arrival/removal notifications, one
# implementation per platform behind SerialPortEnumeration.h and
# DeviceChangeSource.h.
list(APPEND QIREQ_TRANSPORT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/SerialPortEnumeration.h
  ${CMAKE_CURRENT_LIST_DIR}/SerialPortEnumeration.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DeviceChangeSource.h
  ${CMAKE_CURRENT_LIST_DIR}/PortListDiffSource.h
  ${CMAKE_CURRENT_LIST_DIR}/PortListDiffSource.cpp)
if(WIN32)
  list(APPEND QIREQ_TRANSPORT_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/SerialPortEnumeration_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DeviceChangeSource_win.cpp)
  # The registry functions of the port list.
  cmake_language(DEFER CALL target_link_libraries qireq_transport PRIVATE advapi32)
else()
  list(APPEND QIREQ_TRANSPORT_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/SerialPortEnumeration_linux.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DeviceChangeSource_linux.cpp)
  # The udev monitor. The library targets are made after this list is read,
  # so the link is added once the directory is done.
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(QIREQ_UDEV REQUIRED IMPORTED_TARGET GLOBAL libudev)
  cmake_language(DEFER CALL target_link_libraries qireq_transport PRIVATE PkgConfig::QIREQ_UDEV)
endif()
