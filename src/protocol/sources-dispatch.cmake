# The reply dispatcher: what each complete frame from a unit does.
list(APPEND QIREQ_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ReplyHandoffs.h
  ${CMAKE_CURRENT_LIST_DIR}/ReplyDispatcher.h
  ${CMAKE_CURRENT_LIST_DIR}/ReplyDispatcher.cpp)
