qireq_add_gtest(NAME device_list_test LABEL unit
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DeviceListTest.cpp
  LIBS qireq_core)

qireq_add_gtest(NAME device_list_threads_test LABEL unit EXTRA_LABELS threads
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DeviceListThreadsTest.cpp
  LIBS qireq_core)
