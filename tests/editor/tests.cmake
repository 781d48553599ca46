qireq_add_gtest(NAME editor_rules_test LABEL unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/EditorRulesTest.cpp
  LIBS qireq_ui)
