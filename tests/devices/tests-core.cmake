qireq_add_gtest(NAME devices_core_test LABEL unit
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/MacTextTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StatusReplyTest.cpp
  LIBS qireq_core)
