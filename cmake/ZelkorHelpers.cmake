# Warnings are errors in our own code.
set(ZK_WARNINGS -Wall -Wextra -Werror -Wno-missing-field-initializers)
# GCC 12 reports impossible overlaps and out-of-bounds copies inside
# std::string and std::vector at -O3 (known false positives of its restrict
# and array-bounds analyses after inlining); later versions do not.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  list(APPEND ZK_WARNINGS -Wno-restrict -Wno-array-bounds -Wno-stringop-overflow
    -Wno-stringop-overread)
endif()

# zk_layer(NAME DIR DEPS LIB...): a static library of every .cpp in the
# folder (a subfolder that is a layer of its own is not included), linking
# the layers below it that it may call. Every layer is recorded in
# ${CMAKE_BINARY_DIR}/layers.txt for the layering test: one line per layer,
# "NAME DEPS...".
function(zk_layer name dir)
  cmake_parse_arguments(ZK "" "" "DEPS" ${ARGN})
  if(dir STREQUAL "platform" OR dir STREQUAL "effects")
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  else()
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  endif()
  if(NOT sources)
    set(stub ${CMAKE_BINARY_DIR}/stubs/${name}.cpp)
    file(WRITE ${stub} "// no sources yet\n")
    set(sources ${stub})
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${ZK_WARNINGS})
  if(ZK_DEPS)
    target_link_libraries(${name} PUBLIC ${ZK_DEPS})
  endif()
  string(REPLACE ";" " " deps "${ZK_DEPS}")
  set_property(GLOBAL APPEND PROPERTY ZK_LAYERS "${name} ${deps}")
endfunction()

# zk_test(NAME DIR LIBS...): one GoogleTest program of every .cpp in DIR.
function(zk_test name dir)
  file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
  if(NOT found)
    return()
  endif()
  add_executable(${name} ${found})
  target_compile_options(${name} PRIVATE ${ZK_WARNINGS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT
    "ZK_BINARY_DIR=${CMAKE_BINARY_DIR};ZK_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()
