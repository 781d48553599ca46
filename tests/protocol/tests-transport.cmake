qireq_add_gtest(NAME links_test LABEL unit
  SOURCES
    ${CMAKE_SOURCE_DIR}/tests/platform/PseudoTerminal.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SerialLinkTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SocketLinkTest.cpp
  LIBS qireq_transport Qt6::Test)

qireq_add_gtest(NAME prober_thread_test LABEL unit EXTRA_LABELS threads
  SOURCES
    ${CMAKE_SOURCE_DIR}/tests/platform/PseudoTerminal.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProberThreadTest.cpp
  LIBS qireq_transport)
