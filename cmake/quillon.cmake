# Shared settings for the native and the cross build.
option(QV_BUILD_TESTS "Build the tests" ON)
option(QV_SANITIZE "Build the native tests under ASan and UBSan" ON)

# The cross build puts the shipped programs, and nothing else, in bin/;
# tools that only the tests and the developer scripts use go here.
set(QV_TOOLS_DIR ${CMAKE_BINARY_DIR}/tools)

option(QV_FUZZ "Build the libFuzzer harnesses of tests/fuzz (clang; scripts/fuzz)" OFF)

if(QV_FUZZ)
  # Everything is instrumented for the fuzzer and checked by both sanitizers;
  # only the harnesses link libFuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(NOT QV_WINDOWS AND QV_SANITIZE)
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
    QV_CORPUS_DIR="${CMAKE_SOURCE_DIR}/../shared/corpus/syx" QV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native)
endfunction()

# qv_add_benchmark(name sources...): a native Google Benchmark executable,
# built with the native tree so that it keeps compiling, never run as a
# test; run it by hand (build/native/tests/<dir>/bench_<dir>). scripts/bench
# runs the speed goals of tests/bench instead.
function(qv_add_benchmark name)
  if(QV_WINDOWS)
    return()
  endif()
  find_package(benchmark REQUIRED)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE quillon_logic benchmark::benchmark benchmark::benchmark_main)
endfunction()

# Every subsystem folder's CMakeLists.txt is the one line
#   qv_subsystem_sources()
# Files that include <windows.h> are named *_window.cpp, *_dialog.cpp,
# *_control.cpp or *_win32.cpp and go into the main program only; every
# other .cpp is logic and goes into quillon_logic (native and cross).
function(qv_subsystem_sources)
  file(GLOB all CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB win CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*_window.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*_dialog.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/*_control.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*_win32.cpp)
  set(logic ${all})
  if(win)
    list(REMOVE_ITEM logic ${win})
  endif()
  if(logic)
    target_sources(quillon_logic PRIVATE ${logic})
  endif()
  if(QV_WINDOWS AND win)
    target_sources(mirelda PRIVATE ${win})
  endif()
endfunction()

# Every tests/<dir>/CMakeLists.txt is the one line
#   qv_subsystem_tests(<dir>)
# *_test.cpp files form the native GoogleTest executable test_<dir>;
# *_bench.cpp files form the benchmark bench_<dir>;
# each *_wine_test.cpp is one Wine test group (cross build only).
function(qv_subsystem_tests dir)
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  file(GLOB wine CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_wine_test.cpp)
  file(GLOB benches CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_bench.cpp)
  if(wine)
    list(REMOVE_ITEM tests ${wine})
  endif()
  if(NOT QV_WINDOWS)
    if(tests)
      qv_add_gtest(test_${dir} ${tests})
      target_include_directories(test_${dir} PRIVATE ${CMAKE_SOURCE_DIR})
    endif()
    if(benches)
      qv_add_benchmark(bench_${dir} ${benches})
    endif()
  elseif(wine AND COMMAND qv_add_wine_test)
    foreach(src ${wine})
      get_filename_component(stem ${src} NAME_WE)
      qv_add_wine_test(${dir}_${stem} ${src})
    endforeach()
  endif()
endfunction()
include(${CMAKE_CURRENT_LIST_DIR}/wine_tests.cmake)
