qireq_add_gtest(NAME eq_response_test LABEL unit
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/DirectResponse.h
    ${CMAKE_CURRENT_LIST_DIR}/ResponseTest.cpp
  LIBS qireq_core)

# Cross-check of the band responses against scipy.signal.freqz. It needs the
# dump program from bench/, which is configured after the tests, so the test
# is added once the whole tree has been read. Exit code 77 (no scipy) skips.
function(qireq_add_scipy_compare_test)
  if(TARGET band_response_dump AND EXISTS /usr/bin/python3)
    add_test(NAME eq_response_scipy_compare
      COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/bench/scipy_compare.py
              $<TARGET_FILE:band_response_dump>)
    set_tests_properties(eq_response_scipy_compare PROPERTIES
      LABELS unit TIMEOUT 120 SKIP_RETURN_CODE 77)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL qireq_add_scipy_compare_test)
