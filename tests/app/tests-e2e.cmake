# The real main window against the simulated unit, over pseudo-terminals
# and loopback TCP, with real timers and mouse events.
if(NOT TARGET qireq-sim)
  return()
endif()

add_library(qireq_e2e_fixture STATIC
  ${CMAKE_CURRENT_LIST_DIR}/EndToEnd.h
  ${CMAKE_CURRENT_LIST_DIR}/EndToEnd.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../tools/SimProcess.h
  ${CMAKE_CURRENT_LIST_DIR}/../tools/SimProcess.cpp)
target_link_libraries(qireq_e2e_fixture PUBLIC qireq_ui Qt6::Test GTest::gtest)
target_compile_definitions(qireq_e2e_fixture PRIVATE QIREQ_BINARY_DIR="${PROJECT_BINARY_DIR}")
qireq_warnings(qireq_e2e_fixture)
add_dependencies(qireq_e2e_fixture qireq-sim)

qireq_add_gtest(NAME SerialEndToEndTest LABEL e2e
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SerialEndToEndTest.cpp ${CMAKE_CURRENT_LIST_DIR}/EndToEndTsan.cpp
  LIBS qireq_e2e_fixture
  EXTRA_LABELS threads)

qireq_add_gtest(NAME LanEndToEndTest LABEL e2e
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/LanEndToEndTest.cpp ${CMAKE_CURRENT_LIST_DIR}/EndToEndTsan.cpp
  LIBS qireq_e2e_fixture Qt6::Network
  EXTRA_LABELS threads)

qireq_add_gtest(NAME PresetEndToEndTest LABEL e2e
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PresetEndToEndTest.cpp ${CMAKE_CURRENT_LIST_DIR}/EndToEndTsan.cpp
  LIBS qireq_e2e_fixture
  EXTRA_LABELS threads)
