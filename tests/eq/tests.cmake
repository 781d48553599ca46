qireq_add_gtest(NAME eq_model_test LABEL unit
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/EqTablesTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EqEncodingTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EqDisplayTest.cpp
  LIBS qireq_core)
