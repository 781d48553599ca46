# The simulated unit driven through the program's own serial and TCP links.
if(NOT TARGET qireq-sim)
  return()
endif()

qireq_add_gtest(NAME qireq_sim_links_test LABEL e2e
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/SimProcess.h
    ${CMAKE_CURRENT_LIST_DIR}/SimProcess.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimLinksTest.cpp
  LIBS qireq_transport qireq_sim_lib Qt6::Test)
add_dependencies(qireq_sim_links_test qireq-sim)
