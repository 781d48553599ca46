qireq_add_gtest(NAME presets_test LABEL unit
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/IntegerTextTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PresetRecordTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PresetFileTest.cpp
  LIBS qireq_core)
