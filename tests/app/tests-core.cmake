qireq_add_gtest(NAME app_core_test LABEL unit
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/InfoMessageTextTest.cpp
  LIBS qireq_core)
