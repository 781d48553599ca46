qireq_add_gtest(NAME controls_scale_test LABEL unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PlotScaleTest.cpp
  LIBS qireq_ui)
qireq_add_gtest(NAME controls_widgets_test LABEL gui
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/PlotSetup.h
    ${CMAKE_CURRENT_LIST_DIR}/FftdrawTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PtrackbarTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UnlurllabelTest.cpp
  LIBS qireq_ui Qt6::Test)
