# The fuzz targets (-DVNT_FUZZ=ON, with clang): the pure code and the builder with
# AddressSanitizer, UBSan and libFuzzer's coverage, one program per tests/fuzz/*_fuzz.cpp.
set(VNT_FUZZ_FLAGS -g -O1 -fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all
  -fno-omit-frame-pointer)
target_compile_options(vnt_pure PUBLIC ${VNT_FUZZ_FLAGS})
target_link_options(vnt_pure PUBLIC -fsanitize=address,undefined)

add_library(vnt_fuzzsupport STATIC tests/support/TestPackages.cpp)
target_include_directories(vnt_fuzzsupport PUBLIC tests/support tests/fuzz)
target_link_libraries(vnt_fuzzsupport PUBLIC vnt_buildlib)

file(GLOB VNT_FUZZ_TARGETS CONFIGURE_DEPENDS tests/fuzz/*_fuzz.cpp)
foreach(source ${VNT_FUZZ_TARGETS})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE vnt_fuzzsupport)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_compile_definitions(${name} PRIVATE VNT_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endforeach()

# Writes the package target's seeds (whole setup programs) into a folder.
add_executable(package_seeds tests/fuzz/package_seeds.cpp)
target_link_libraries(package_seeds PRIVATE vnt_fuzzsupport)
