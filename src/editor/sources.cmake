# The EQ editor: band controls, plot interaction and the painted scales.
list(APPEND QIREQ_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/BandSteps.h
  ${CMAKE_CURRENT_LIST_DIR}/BandSteps.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PlotMapping.h
  ${CMAKE_CURRENT_LIST_DIR}/PlotMapping.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HintText.h
  ${CMAKE_CURRENT_LIST_DIR}/HintText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PictureButton.h
  ${CMAKE_CURRENT_LIST_DIR}/PictureButton.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CSpinButton.h
  ${CMAKE_CURRENT_LIST_DIR}/CSpinButton.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PaintBox.h
  ${CMAKE_CURRENT_LIST_DIR}/PaintBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScalePainting.h
  ${CMAKE_CURRENT_LIST_DIR}/ScalePainting.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BandEditor.h
  ${CMAKE_CURRENT_LIST_DIR}/BandEditor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PlotInteraction.h
  ${CMAKE_CURRENT_LIST_DIR}/PlotInteraction.cpp)
