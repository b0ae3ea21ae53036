# Shared build rules: compiler set-up, libraries, tests, fuzz targets, benchmarks.

find_program(LIRRA_CCACHE ccache)
if(LIRRA_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  # Precompiled headers need these to be cacheable.
  # Paths are hashed relative to the source root and the build folder is left out, so a fresh clone
  # elsewhere (CI) reuses what another checkout compiled.
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env
      CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
      CCACHE_BASEDIR=${PROJECT_SOURCE_DIR} CCACHE_NOHASHDIR=1 ${LIRRA_CCACHE})
  set(CMAKE_C_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${PROJECT_SOURCE_DIR} CCACHE_NOHASHDIR=1
      ${LIRRA_CCACHE})
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

# lirra_pch_host(NAME [LIBS lib...] [HEADERS header...])
# An empty library that compiles the shared header set once; every library (lirra_pch) or
# test (lirra_pch_test) reuses it. One per target cost a compile and ~150 MB each.
function(lirra_pch_host name)
  cmake_parse_arguments(A "" "" "LIBS;HEADERS" ${ARGN})
  add_library(${name} STATIC ${PROJECT_SOURCE_DIR}/cmake/pch/pch_host.cpp)
  target_link_libraries(${name} PUBLIC Qt6::Core ${A_LIBS})
  target_precompile_headers(${name} PRIVATE ${LIRRA_PCH_HEADERS} ${A_HEADERS})
endfunction()

# lirra_library(NAME [RECURSE] [EXCLUDE dir...] [LIBS lib...])
# A static library made of every .cpp/.h in the calling folder (with RECURSE: and below it,
# except the EXCLUDE sub-folders). Headers are included from the repository root:
#   #include "platform/rtl/variant.h"
# A folder with no sources yet makes an empty interface library. Project libraries (lirra_*) in LIBS may be
# defined in any folder order; one that is defined nowhere stops the configuration.
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
    # An empty placeholder, so that the libraries that will use it can name it already.
    add_library(${name} INTERFACE)
    lirra_link(${name} INTERFACE ${A_LIBS})
    return()
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
  lirra_link(${name} PUBLIC ${A_LIBS})
  target_precompile_headers(${name} REUSE_FROM lirra_pch)
endfunction()

# Links LIBS. Project libraries (lirra_*) are checked once every folder is read: a missing
# one is a configuration error, not a silently dropped link.
function(lirra_link target scope)
  foreach(l ${ARGN})
    if(l MATCHES "^lirra_")
      set_property(GLOBAL APPEND PROPERTY LIRRA_PROJECT_LINKS "${target}:${l}")
    endif()
    target_link_libraries(${target} ${scope} ${l})
  endforeach()
endfunction()

function(lirra_check_links)
  get_property(links GLOBAL PROPERTY LIRRA_PROJECT_LINKS)
  foreach(pair ${links})
    string(REPLACE ":" ";" parts "${pair}")
    list(GET parts 0 target)
    list(GET parts 1 lib)
    if(NOT TARGET ${lib})
      message(FATAL_ERROR "${target} links ${lib}, which no folder defines")
    endif()
  endforeach()
endfunction()

# Every library LIB links, directly or through others (generator expressions stripped).
function(lirra_link_closure lib out)
  set(seen)
  set(todo ${lib})
  while(todo)
    list(POP_FRONT todo t)
    if(t IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${t})
    if(NOT TARGET ${t})
      continue()
    endif()
    get_target_property(type ${t} TYPE)
    set(deps)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(d ${t} LINK_LIBRARIES)
      if(d)
        list(APPEND deps ${d})
      endif()
    endif()
    get_target_property(d ${t} INTERFACE_LINK_LIBRARIES)
    if(d)
      list(APPEND deps ${d})
    endif()
    foreach(x ${deps})
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" x "${x}")
      string(REGEX REPLACE "^\\$<LINK_LIBRARY:[A-Z_]+,(.*)>$" "\\1" x "${x}")
      if(TARGET ${x})
        get_target_property(alias ${x} ALIASED_TARGET)
        if(alias)
          set(x ${alias})
        endif()
      endif()
      list(APPEND todo ${x})
    endforeach()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# The widget-free cores must not link QtWidgets, not even through another library.
set(LIRRA_WIDGET_FREE lirra_rtl lirra_script lirra_report lirra_designer_core)
function(lirra_check_widget_free)
  get_target_property(widgets Qt6::Widgets ALIASED_TARGET)
  if(NOT widgets)
    set(widgets Qt6::Widgets)
  endif()
  foreach(core ${LIRRA_WIDGET_FREE})
    if(TARGET ${core})
      lirra_link_closure(${core} closure)
      if(widgets IN_LIST closure OR "Qt6::Widgets" IN_LIST closure)
        message(FATAL_ERROR "${core} links Qt6::Widgets, directly or through another library; it must stay widget-free")
      endif()
    endif()
  endforeach()
endfunction()

cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL lirra_check_links)
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL lirra_check_widget_free)

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
  target_precompile_headers(${name} REUSE_FROM lirra_pch_test)
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

# lirra_asan_run(NAME FUZZ_SOURCE CORPUS RUNS)
# A fuzz target built against the sanitized readers (lirra_asan_readers, tests/base) and
# run over its corpus plus RUNS deterministic mutations.
function(lirra_asan_run name source corpus runs)
  add_executable(asan_${name} ${source} ${PROJECT_SOURCE_DIR}/tests/base/asan_replay.cpp)
  target_link_libraries(asan_${name} PRIVATE lirra_asan_readers)
  add_test(NAME asan.${name} COMMAND asan_${name} -runs=${runs} ${corpus})
  set_tests_properties(asan.${name} PROPERTIES LABELS "asan" TIMEOUT 600
    ENVIRONMENT "${LIRRA_TEST_ENV};ASAN_OPTIONS=abort_on_error=0:detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1")
endfunction()

# lirra_bench(NAME SOURCES src... LIBS lib...)
# Benchmarks are not part of the default build: `cmake --build <dir> --target benchmarks`
# builds them all (CI does, once, after the tests).
function(lirra_bench name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} EXCLUDE_FROM_ALL ${A_SOURCES})
  if(NOT TARGET benchmarks)
    add_custom_target(benchmarks)
  endif()
  add_dependencies(benchmarks ${name})
  lirra_link(${name} PRIVATE ${A_LIBS} lirra_ui_fakes)
  target_link_libraries(${name} PRIVATE benchmark::benchmark)
endfunction()
