# The EQ model: band and block, value tables, byte encodings, display forms.
list(APPEND QIREQ_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/EqBand.h
  ${CMAKE_CURRENT_LIST_DIR}/EqBand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EqBlock.h
  ${CMAKE_CURRENT_LIST_DIR}/EqBlock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EqTables.h
  ${CMAKE_CURRENT_LIST_DIR}/EqTables.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EqEncoding.h
  ${CMAKE_CURRENT_LIST_DIR}/EqEncoding.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EqDisplay.h
  ${CMAKE_CURRENT_LIST_DIR}/EqDisplay.cpp)
