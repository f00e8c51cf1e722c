# End-to-end tests of the Windows programs under Wine (cross build only).
#
# qv_add_wine_test(name sources...) builds a GoogleTest executable with
# MinGW, linked with the Wine test driver (tests/wine/driver), and registers
# it with ctest. At test time tests/wine/run_wine_test.sh gives the group its
# own folder with a fresh Wine prefix (hard-linked copy of the template that
# the qv_wine_prefix fixture boots once per run), copies of the programs from
# bin/ and the substitute winmm.dll, and runs the executable there.
# qv_add_wine_test(name [NO_PROGRAMS] [PROGRAMS_FROM folder-or-zip] sources...)
# PROGRAMS_FROM: the programs come from there instead of bin/; a .zip is the
# release package, unpacked whole into the group's bin/.
# Every *_wine_test.cpp of a tests/<dir> folder becomes such a group by
# itself (qv_subsystem_tests); call this directly only for other groups.

set(QV_WINE_TEST_ROOT ${CMAKE_BINARY_DIR}/wine-tests)
set(QV_WINE_SCREENSHOTS ${CMAKE_BINARY_DIR}/screenshots)
get_filename_component(QV_WINE_CORPUS ${CMAKE_SOURCE_DIR}/../shared/corpus/syx ABSOLUTE)

function(qv_add_wine_test name)
  if(NOT QV_WINDOWS OR NOT QV_BUILD_TESTS)
    return()
  endif()
  # NO_PROGRAMS: the group does not start Mirelda (the harness's own tests).
  cmake_parse_arguments(PARSE_ARGV 1 arg "NO_PROGRAMS" "PROGRAMS_FROM" "")
  set(programs ${CMAKE_BINARY_DIR}/bin)
  if(arg_PROGRAMS_FROM)
    set(programs ${arg_PROGRAMS_FROM})
  endif()
  if(TARGET ${name})
    message(FATAL_ERROR "qv_add_wine_test: ${name} is already a target (each *_wine_test.cpp is registered by itself)")
  endif()
  add_executable(${name} ${arg_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE qv_wine_driver qv_wine_gtest_main qv_wine_gtest)
  target_link_options(${name} PRIVATE -static)
  target_compile_definitions(${name} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX
    QV_CORPUS_DIR="Z:${QV_WINE_CORPUS}")
  # The group needs the programs and the fake devices in place.
  add_dependencies(${name} qv_fake_winmm)
  if(TARGET mirelda AND NOT arg_NO_PROGRAMS)
    add_dependencies(${name} mirelda)
  endif()
  add_test(NAME ${name}
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/wine/run_wine_test.sh ${name} $<TARGET_FILE:${name}>
            ${programs} $<TARGET_FILE:qv_fake_winmm> ${QV_WINE_TEST_ROOT} ${QV_WINE_SCREENSHOTS})
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED qv_wine_prefix LABELS wine TIMEOUT 600)
endfunction()
