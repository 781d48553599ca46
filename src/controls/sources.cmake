# The custom controls: response plot, gain slider, link label.
list(APPEND QIREQ_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/VclColors.h
  ${CMAKE_CURRENT_LIST_DIR}/FloatText.h
  ${CMAKE_CURRENT_LIST_DIR}/FloatText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PlotScale.h
  ${CMAKE_CURRENT_LIST_DIR}/PlotScale.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PlotLayout.h
  ${CMAKE_CURRENT_LIST_DIR}/PlotLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Fftdraw.h
  ${CMAKE_CURRENT_LIST_DIR}/Fftdraw.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Ptrackbar.h
  ${CMAKE_CURRENT_LIST_DIR}/Ptrackbar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Unlurllabel.h
  ${CMAKE_CURRENT_LIST_DIR}/Unlurllabel.cpp)
