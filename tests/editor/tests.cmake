qireq_add_gtest(NAME editor_rules_test LABEL unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/EditorRulesTest.cpp
  LIBS qireq_ui)

qireq_add_gtest(NAME editor_gui_test LABEL gui
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/EditorFixture.h
    ${CMAKE_CURRENT_LIST_DIR}/BandControlsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PlotInteractionTest.cpp
  LIBS qireq_ui Qt6::Test)
