qireq_add_gtest(NAME platform_test LABEL unit
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/PseudoTerminal.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TComPortTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TClientSocketTest.cpp
  LIBS qireq_transport Qt6::Test)

qireq_add_gtest(NAME platform_threads_test LABEL unit EXTRA_LABELS threads
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/OwnerThreadCallsTest.cpp
  LIBS qireq_transport)
