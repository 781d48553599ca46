qireq_add_gtest(NAME serial_prober_test LABEL unit EXTRA_LABELS threads
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/ProbedPty.h
    ${CMAKE_CURRENT_LIST_DIR}/ProbedPty.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SerialProberTest.cpp
  LIBS qireq_transport)

qireq_add_gtest(NAME serial_ports_test LABEL unit EXTRA_LABELS threads
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/ProbedPty.h
    ${CMAKE_CURRENT_LIST_DIR}/ProbedPty.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SerialPortsTest.cpp
  LIBS qireq_transport)
