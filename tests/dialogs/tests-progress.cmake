# The connecting dialog.
qireq_add_gtest(NAME ProgressformTest LABEL gui
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ProgressformTest.cpp
  LIBS qireq_ui Qt6::Test)
