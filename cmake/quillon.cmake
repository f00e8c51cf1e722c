# Shared settings for the native and the cross build.
option(QV_BUILD_TESTS "Build the tests" ON)
option(QV_SANITIZE "Build the native tests under ASan and UBSan" ON)

if(NOT QV_WINDOWS AND QV_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# qv_add_gtest(name sources...): a native GoogleTest executable over the
# logic library, registered with ctest.
function(qv_add_gtest name)
  if(QV_WINDOWS)
    return()
  endif()
  find_package(GTest REQUIRED)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE quillon_logic GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    QV_CORPUS_DIR="${CMAKE_SOURCE_DIR}/../shared/corpus/syx")
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native)
endfunction()

# qv_add_benchmark(name sources...): a native Google Benchmark executable,
# built but not run as a test (scripts/bench runs them).
function(qv_add_benchmark name)
  if(QV_WINDOWS)
    return()
  endif()
  find_package(benchmark REQUIRED)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE quillon_logic benchmark::benchmark benchmark::benchmark_main)
endfunction()
