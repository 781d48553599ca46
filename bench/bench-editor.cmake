# One EQ edit made and shown: band curve, sum and the plot page redrawn.
# Needs a QApplication (offscreen), so it has its own main and links the UI library.
add_executable(editor_bench ${CMAKE_CURRENT_LIST_DIR}/EditorBench.cpp)
target_link_libraries(editor_bench PRIVATE qireq_ui benchmark::benchmark)
qireq_warnings(editor_bench)
