# The serial port list shared with the prober, and the probe answer.
list(APPEND QIREQ_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/SerialPortNames.h
  ${CMAKE_CURRENT_LIST_DIR}/SerialPortNames.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProbeAnswer.h
  ${CMAKE_CURRENT_LIST_DIR}/ProbeAnswer.cpp)
# The prober thread drives the serial port component.
list(APPEND QIREQ_TRANSPORT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/SerialProber.h
  ${CMAKE_CURRENT_LIST_DIR}/SerialProber.cpp)
