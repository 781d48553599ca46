# The connection life cycle: tile clicks, attempt, keep-alive, watchdog,
# reconnection and the connecting dialog's Cancel.
list(APPEND QIREQ_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ConnectionLifecycle.h
  ${CMAKE_CURRENT_LIST_DIR}/ConnectionLifecycle.cpp)
