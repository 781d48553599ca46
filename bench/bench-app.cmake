# The main window from construction to its first full paint. Needs a
# QApplication (offscreen), so it has its own main and links the UI library.
add_executable(window_open_bench ${CMAKE_CURRENT_LIST_DIR}/WindowOpenBench.cpp)
target_link_libraries(window_open_bench PRIVATE qireq_ui benchmark::benchmark)
qireq_warnings(window_open_bench)
