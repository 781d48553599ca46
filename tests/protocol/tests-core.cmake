qireq_add_gtest(NAME protocol_core_test LABEL unit
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/FramesTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FrameAssemblerTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ReplyFieldsTest.cpp
  LIBS qireq_core)
