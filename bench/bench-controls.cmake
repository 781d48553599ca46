# The response plot's redraw, with its own QApplication (offscreen).
add_executable(bench_controls ${CMAKE_CURRENT_LIST_DIR}/controls/PlotRedrawBench.cpp)
target_link_libraries(bench_controls PRIVATE qireq_ui benchmark::benchmark)
qireq_warnings(bench_controls)
