# The simulated unit (tools/qireq-sim): its reply logic, and the built
# program driven over a pty, loopback TCP and loopback UDP ports.
if(NOT TARGET qireq-sim)
  return()
endif()

qireq_add_gtest(NAME qireq_sim_test LABEL unit
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/QtPrinters.h
    ${CMAKE_CURRENT_LIST_DIR}/SimUnitTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimResponderTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimOptionsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimLanAnswersTest.cpp
  LIBS qireq_sim_lib)

qireq_add_gtest(NAME qireq_sim_process_test LABEL e2e
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/SimProcess.h
    ${CMAKE_CURRENT_LIST_DIR}/SimProcess.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimProcessTest.cpp
  LIBS qireq_sim_lib Qt6::Network)
add_dependencies(qireq_sim_process_test qireq-sim)

# The unit on a LAN of two network namespaces the test makes (root only).
qireq_add_gtest(NAME qireq_sim_netns_test LABEL netns
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/SimProcess.h
    ${CMAKE_CURRENT_LIST_DIR}/SimProcess.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimNetnsTest.cpp
  LIBS qireq_sim_lib)
add_dependencies(qireq_sim_netns_test qireq-sim)
