# The receive events on a pseudo-terminal and loopback TCP.
qireq_add_gtest(NAME protocol_receive_test LABEL unit
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/ReceivePathTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../platform/PseudoTerminal.cpp
  LIBS qireq_transport Qt6::Network)
