# Response computation: one band, and the five-band refresh with the sum.
qireq_add_benchmark(eq_response_bench ${CMAKE_CURRENT_LIST_DIR}/EqResponseBench.cpp)
# The per-point reference evaluation lives with the tests.
target_include_directories(eq_response_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/eq)

# Prints coefficients and responses of a few bands for scipy_compare.py.
add_executable(band_response_dump ${CMAKE_CURRENT_LIST_DIR}/BandResponseDump.cpp)
target_link_libraries(band_response_dump PRIVATE qireq_core)
qireq_warnings(band_response_dump)
