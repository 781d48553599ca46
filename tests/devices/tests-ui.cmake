qireq_add_gtest(NAME device_column_test LABEL gui EXTRA_LABELS threads
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/DeviceColumnFixture.h
    ${CMAKE_CURRENT_LIST_DIR}/DeviceTilesTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DeviceTileMouseTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DevicePaintTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DeviceRemovalTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../platform/PseudoTerminal.cpp
  LIBS qireq_ui Qt6::Test)

qireq_add_gtest(NAME status_display_test LABEL gui
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/StatusDisplayTest.cpp
  LIBS qireq_ui Qt6::Test)
