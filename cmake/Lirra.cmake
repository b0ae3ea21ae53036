# Shared build rules: compiler set-up, libraries, tests, fuzz targets, benchmarks.

find_program(LIRRA_CCACHE ccache)
if(LIRRA_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  # Precompiled headers need these to be cacheable.
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env
      CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime ${LIRRA_CCACHE})
  set(CMAKE_C_COMPILER_LAUNCHER ${LIRRA_CCACHE})
endif()

add_compile_options(-Wall -Wextra)
add_compile_definitions(QT_NO_KEYWORDS QT_NO_CAST_FROM_BYTEARRAY QT_USE_QSTRINGBUILDER)

if(LIRRA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "LIRRA_FUZZ needs clang: configure a fresh build folder with CC=clang-14 CXX=clang++-14")
  endif()
  # Coverage feedback and sanitizers in the project's own code, not only in each target's source.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(LIRRA_ASAN)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

set(LIRRA_PCH_HEADERS <QtCore/QString> <QtCore/QStringList> <QtCore/QList> <QtCore/QHash>
    <QtCore/QByteArray> <QtCore/QVariant> <vector> <string> <memory> <functional> <algorithm>)

# lirra_library(NAME [RECURSE] [EXCLUDE dir...] [LIBS lib...])
# A static library made of every .cpp/.h in the calling folder (with RECURSE: and below it,
# except the EXCLUDE sub-folders). Headers are included from the repository root:
#   #include "platform/rtl/variant.h"
# A folder with no sources yet makes no library. Project libraries (lirra_*) in LIBS are
# linked when they exist, so subsystems can grow in any order.
function(lirra_library name)
  cmake_parse_arguments(A "RECURSE" "" "EXCLUDE;LIBS" ${ARGN})
  if(A_RECURSE)
    file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  else()
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  endif()
  foreach(x ${A_EXCLUDE})
    list(FILTER srcs EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/${x}/")
  endforeach()
  set(cpps ${srcs})
  list(FILTER cpps INCLUDE REGEX "\\.cpp$")
  if(NOT cpps)
    return()
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
  lirra_link(${name} PUBLIC ${A_LIBS})
  target_precompile_headers(${name} PRIVATE ${LIRRA_PCH_HEADERS})
endfunction()

# Links LIBS, taking project libraries (lirra_*) only where they exist.
function(lirra_link target scope)
  foreach(l ${ARGN})
    if(l MATCHES "^lirra_")
      target_link_libraries(${target} ${scope} $<TARGET_NAME_IF_EXISTS:${l}>)
    else()
      target_link_libraries(${target} ${scope} ${l})
    endif()
  endforeach()
endfunction()

# Environment every test and the program share: offscreen Qt, the project's font
# configuration, a pinned locale.
set(LIRRA_TEST_ENV
    QT_QPA_PLATFORM=offscreen
    FONTCONFIG_FILE=${PROJECT_SOURCE_DIR}/fonts/fonts.conf
    LIRRA_SOURCE_DIR=${PROJECT_SOURCE_DIR}
    LIRRA_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data
    LC_ALL=C.UTF-8)

# lirra_gtest(NAME SOURCES src... LIBS lib... [LABELS l...])
# One GoogleTest executable; each TEST becomes its own CTest case.
function(lirra_gtest name)
  cmake_parse_arguments(A "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  lirra_link(${name} PRIVATE ${A_LIBS})
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock lirra_testmain)
  target_precompile_headers(${name} PRIVATE ${LIRRA_PCH_HEADERS} <gtest/gtest.h>)
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  # The environment travels as a command prefix: a list-valued ENVIRONMENT property does
  # not survive being forwarded through gtest_discover_tests (only its first entry is kept).
  set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env ${LIRRA_TEST_ENV})
  set(props TIMEOUT ${A_TIMEOUT})
  if(A_LABELS)
    list(APPEND props LABELS "${A_LABELS}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES ${props})
endfunction()

# lirra_fuzz_target(NAME SOURCES src... LIBS lib... CORPUS dir)
# The source defines LLVMFuzzerTestOneInput. With LIRRA_FUZZ it is a libFuzzer binary;
# always, CTest replays the checked-in corpus through a plain driver.
function(lirra_fuzz_target name)
  cmake_parse_arguments(A "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name}_replay ${A_SOURCES} ${PROJECT_SOURCE_DIR}/tests/fuzz/replay_main.cpp)
  lirra_link(${name}_replay PRIVATE ${A_LIBS})
  add_test(NAME fuzz_replay.${name} COMMAND ${name}_replay ${A_CORPUS})
  set_tests_properties(fuzz_replay.${name} PROPERTIES ENVIRONMENT "${LIRRA_TEST_ENV}" LABELS "fuzz")
  if(LIRRA_FUZZ)
    add_executable(${name}_fuzz ${A_SOURCES})
    lirra_link(${name}_fuzz PRIVATE ${A_LIBS})
    target_compile_options(${name}_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name}_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
  endif()
endfunction()

# lirra_bench(NAME SOURCES src... LIBS lib...)
function(lirra_bench name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  lirra_link(${name} PRIVATE ${A_LIBS})
  target_link_libraries(${name} PRIVATE benchmark::benchmark)
endfunction()
