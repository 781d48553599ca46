# The receive events of the serial ports and the TCP client.
list(APPEND QIREQ_TRANSPORT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ReceivePath.h
  ${CMAKE_CURRENT_LIST_DIR}/ReceivePath.cpp)
