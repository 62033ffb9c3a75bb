# The Windows programs: the stub, the builder, the UI driver and the tests run under Wine.
# All of them land in build/win32 itself, where scripts and tests look for them.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_link_options(-static -static-libgcc -static-libstdc++)
# vntbuild is made before this file is read, so the options above miss it; without them it
# needs MinGW's runtime libraries beside it and does not start on a plain Windows.
target_link_options(vntbuild PRIVATE -static -static-libgcc -static-libstdc++)
if(CMAKE_BUILD_TYPE STREQUAL "Release")
  # The stub travels inside every setup: keep it small. Its hot work is zlib's, which is
  # optimised on its own.
  set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG")
  add_compile_options(-ffunction-sections -fdata-sections)
  add_link_options(-s -Wl,--gc-sections)
endif()

include(cmake/DelayLoad.cmake)
add_library(vnt_win32 STATIC ${VNT_WIN32_SOURCES})
target_link_libraries(vnt_win32 PUBLIC vnt_pure vnt_delayload uuid)

# The program entries' shared parts: the setup is the uninstaller too, under that name.
set(VNT_APP_SOURCES src/app/DeviceSide.cpp src/app/UninstallerMain.cpp src/app/UninstallerCleanup.cpp
  src/app/Terminate.cpp)
add_executable(vntsetup WIN32 src/app/vntsetup.cpp ${VNT_APP_SOURCES} src/app/vntsetup.rc)
target_link_libraries(vntsetup PRIVATE vnt_win32)
# The resources' pictures sit beside the resource script; only it looks there.
set_source_files_properties(src/app/vntsetup.rc PROPERTIES INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR}/src/app)
# The resource compiler does not report the files it reads.
set_source_files_properties(src/app/vntsetup.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/src/app/loader.bmp;${CMAKE_SOURCE_DIR}/src/app/vntsetup.ico;${CMAKE_SOURCE_DIR}/src/app/vntsetup.manifest")

# The uninstaller of packages that carry one of their own (signed setups: a signature must
# cover the uninstaller as Windows starts it).
add_executable(vntuninst WIN32 src/app/vntuninst.cpp ${VNT_APP_SOURCES} src/app/vntuninst.rc)
target_link_libraries(vntuninst PRIVATE vnt_win32)
set_source_files_properties(src/app/vntuninst.rc PROPERTIES INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR}/src/app)
# It takes the setup's icon and manifest: a change to either builds it again too.
set_source_files_properties(src/app/vntuninst.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/src/app/vntsetup.ico;${CMAKE_SOURCE_DIR}/src/app/vntsetup.manifest")

# The sample product's program, which examples/hello packs into a setup.
add_executable(hello WIN32 examples/hello/hello.cpp examples/hello/hello.rc)

if(EXISTS ${CMAKE_SOURCE_DIR}/tests/wizdriver/CMakeLists.txt)
  add_subdirectory(tests/wizdriver)
endif()

add_subdirectory(standins)

# GoogleTest from Debian's sources, built for Win32.
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB VNT_WIN32_TEST_SOURCES CONFIGURE_DEPENDS tests/win32/*.cpp)
add_executable(vnt_win32_tests ${VNT_WIN32_TEST_SOURCES} tests/support/TestPackages.cpp tests/support/TestBitmaps.cpp
  src/app/UninstallerCleanup.cpp)
target_include_directories(vnt_win32_tests PRIVATE tests/support)
target_link_libraries(vnt_win32_tests PRIVATE vnt_win32 gtest_main)
add_subdirectory(tests/win32/helpers)
