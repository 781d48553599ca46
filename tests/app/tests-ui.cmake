# The main window shell, its pictures, message boxes and the About box.
qireq_add_gtest(NAME MainWindowTest LABEL gui
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/MainWindowTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/QtInternalsTsan.cpp
  LIBS qireq_ui Qt6::Test
  EXTRA_LABELS threads)
qireq_add_gtest(NAME AboutBoxTest LABEL gui
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/AboutBoxTest.cpp
  LIBS qireq_ui Qt6::Test)
qireq_add_gtest(NAME ArtworkTest LABEL gui
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ArtworkTest.cpp
  LIBS qireq_ui)
qireq_add_gtest(NAME MessageBoxesTest LABEL gui
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/MessageBoxesTest.cpp
  LIBS qireq_ui)
# Starts the built program twice as child processes.
qireq_add_gtest(NAME AppCloseTest LABEL gui
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/AppCloseTest.cpp
  LIBS Qt6::Core)
if(TARGET qireq)
  add_dependencies(AppCloseTest qireq)
endif()
