# QIREQ_SANITIZE="address;undefined" or "thread" instruments everything built
# here, so the tests run with the sanitizer over the whole program.
if(QIREQ_SANITIZE)
  if(MSVC)
    message(FATAL_ERROR "QIREQ_SANITIZE is for GCC and Clang builds")
  endif()
  list(JOIN QIREQ_SANITIZE "," _qireq_sanitizers)
  # -Og and line tables only: the checks are the same, the build is about
  # twice as fast, and reports still name file and line.
  add_compile_options(-fsanitize=${_qireq_sanitizers} -fno-omit-frame-pointer -Og -g1)
  add_link_options(-fsanitize=${_qireq_sanitizers})
  if("undefined" IN_LIST QIREQ_SANITIZE)
    add_compile_options(-fno-sanitize-recover=undefined)
  endif()
endif()

# QIREQ_BUILD_FUZZ adds libFuzzer's coverage instrumentation to everything
# built here, on top of the sanitizers above; only the fuzz targets link
# the fuzzer itself (-fsanitize=fuzzer, fuzz/CMakeLists.txt).
if(QIREQ_BUILD_FUZZ)
  if("thread" IN_LIST QIREQ_SANITIZE)
    message(FATAL_ERROR "QIREQ_BUILD_FUZZ goes with QIREQ_SANITIZE empty or 'address;undefined'")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
