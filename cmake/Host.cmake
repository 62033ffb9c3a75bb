# Native build: the builder, the pure code's tests with sanitizers, and the CTest entries
# that run the Windows programs under Wine.
option(VNT_SANITIZE "Build the native code with AddressSanitizer and UBSan" ON)
if(VNT_SANITIZE)
  set(VNT_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(vnt_pure PUBLIC ${VNT_SANITIZER_FLAGS})
  target_link_options(vnt_pure PUBLIC ${VNT_SANITIZER_FLAGS})
endif()

# Benchmarks: built by bench/run.sh in a release tree without sanitizers.
file(GLOB VNT_BENCH_SOURCES CONFIGURE_DEPENDS bench/*.cpp)
foreach(source ${VNT_BENCH_SOURCES})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} EXCLUDE_FROM_ALL ${source})
  target_include_directories(${name} PRIVATE tests/support)
  target_link_libraries(${name} PRIVATE vnt_buildlib)
endforeach()

find_package(GTest REQUIRED)
include(GoogleTest)

add_library(vnt_testsupport STATIC tests/support/TestPackages.cpp tests/support/TestBitmaps.cpp
  tests/support/TestImages.cpp)
target_include_directories(vnt_testsupport PUBLIC tests/support)
target_link_libraries(vnt_testsupport PUBLIC vnt_buildlib)

file(GLOB VNT_UNIT_TEST_SOURCES CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(vnt_unit_tests ${VNT_UNIT_TEST_SOURCES})
target_link_libraries(vnt_unit_tests PRIVATE vnt_testsupport GTest::gtest_main)
gtest_discover_tests(vnt_unit_tests TEST_PREFIX "native.")

# The setups of the end-to-end tests, written from shared building blocks.
add_library(vnt_fixtureparts STATIC tests/e2e/fixtures/FixtureParts.cpp tests/e2e/fixtures/HardeningFixtures.cpp)
target_link_libraries(vnt_fixtureparts PUBLIC vnt_testsupport)
add_executable(pkgfixture tests/e2e/fixtures/pkgfixture.cpp)
target_link_libraries(pkgfixture PRIVATE vnt_fixtureparts)
add_executable(pagefixture tests/e2e/fixtures/pagefixture.cpp)
target_link_libraries(pagefixture PRIVATE vnt_fixtureparts)
add_executable(installfixture tests/e2e/fixtures/installfixture.cpp)
target_link_libraries(installfixture PRIVATE vnt_fixtureparts)
add_executable(assemblefixture tests/e2e/fixtures/assemblefixture.cpp)
target_link_libraries(assemblefixture PRIVATE vnt_fixtureparts)
add_executable(wizardfixture tests/e2e/fixtures/wizardfixture.cpp)
target_link_libraries(wizardfixture PRIVATE vnt_fixtureparts)

set(VNT_WIN32_DIR ${CMAKE_SOURCE_DIR}/build/win32 CACHE PATH "Build folder of the Windows programs")
# Native tests that work on the real stub read it from there (and skip without it).
target_compile_definitions(vnt_unit_tests PRIVATE VNT_WIN32_DIR="${VNT_WIN32_DIR}")
add_test(NAME wine.unit
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh ${VNT_WIN32_DIR}/vnt_win32_tests.exe)
# Programs under Wine share one desktop: a window of one test would take the focus and the
# foreground from another's, so they run one at a time.
set_tests_properties(wine.unit PROPERTIES RESOURCE_LOCK wine_desktop)
add_test(NAME wine.small_drive COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win32/small_drive_test.sh ${VNT_WIN32_DIR})
set_tests_properties(wine.small_drive PROPERTIES RESOURCE_LOCK wine_desktop)
file(GLOB VNT_E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*_test.sh)
foreach(script ${VNT_E2E_TESTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME e2e.${name} COMMAND bash ${script} ${VNT_WIN32_DIR} ${CMAKE_BINARY_DIR})
  set_tests_properties(e2e.${name} PROPERTIES RESOURCE_LOCK wine_desktop)
endforeach()

# The Windows programs' load-time imports: kernel32 and the C runtime only.
add_test(NAME imports.load_time COMMAND bash ${CMAKE_SOURCE_DIR}/tests/checks/load_imports_test.sh ${VNT_WIN32_DIR})

# The layer order of docs/ARCHITECTURE.md, on the tree and, planted with faults, on a copy.
add_test(NAME layers.check COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-layers.sh ${CMAKE_SOURCE_DIR})
add_test(NAME layers.check_test COMMAND bash ${CMAKE_SOURCE_DIR}/tests/checks/layers_test.sh)

# The script examples of the docs compile, and the command reference covers vntbuild's commands;
# planted faults in a copy of the docs must fail.
add_test(NAME docs.examples_test COMMAND bash ${CMAKE_SOURCE_DIR}/tests/checks/docs_examples_test.sh $<TARGET_FILE:vntbuild>)
# vntbuild's help, usage errors and UTF-8 script files, through the program itself.
add_test(NAME vntbuild.cli_test COMMAND bash ${CMAKE_SOURCE_DIR}/tests/checks/vntbuild_cli_test.sh $<TARGET_FILE:vntbuild>)
# The command reference marks exactly the commands the setup does not carry out yet.
add_test(NAME docs.not_yet_test COMMAND bash ${CMAKE_SOURCE_DIR}/tests/checks/docs_not_yet_test.sh $<TARGET_FILE:vntbuild>)

# Every fuzz target for a short while over its seeds; a crash, leak, timeout or memory overrun
# fails. They build first, with clang into build/fuzz, and run one at a time.
add_test(NAME fuzz.build COMMAND bash ${CMAKE_SOURCE_DIR}/tests/fuzz/build.sh)
set_tests_properties(fuzz.build PROPERTIES FIXTURES_SETUP fuzz_built TIMEOUT 7200 RESOURCE_LOCK fuzz)
file(GLOB VNT_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(source ${VNT_FUZZ_SOURCES})
  get_filename_component(name ${source} NAME_WE)
  string(REGEX REPLACE "_fuzz$" "" name ${name})
  add_test(NAME fuzz.${name} COMMAND bash ${CMAKE_SOURCE_DIR}/tests/fuzz/run.sh ${name} 15)
  set_tests_properties(fuzz.${name} PROPERTIES FIXTURES_REQUIRED fuzz_built RESOURCE_LOCK fuzz TIMEOUT 300)
endforeach()
