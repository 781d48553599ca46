# The reply dispatcher with recorded hand-offs.
qireq_add_gtest(NAME protocol_dispatch_test LABEL unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ReplyDispatcherTest.cpp
  LIBS qireq_core)
