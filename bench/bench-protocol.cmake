qireq_add_benchmark(assembler_bench ${CMAKE_CURRENT_LIST_DIR}/AssemblerBench.cpp)
