# Project-wide build helpers. Every folder's CMakeLists.txt uses these, so the
# flags, the test wiring and the Windows specifics live in one place.

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(KODARO_WINDOWS ON)
else()
  set(KODARO_WINDOWS OFF)
endif()

option(KODARO_SANITIZE "Build the native codec and its tests with ASan and UBSan" OFF)
set(KODARO_SANITIZE_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)

# Adds each named folder (below the current source folder) that has a
# CMakeLists.txt; a folder without one is searched further down for folders
# that have one.
function(kodaro_add_tree dir)
  set(_path ${CMAKE_CURRENT_SOURCE_DIR}/${dir})
  if(EXISTS ${_path}/CMakeLists.txt)
    add_subdirectory(${dir})
  elseif(IS_DIRECTORY ${_path})
    file(GLOB _children RELATIVE ${_path} ${_path}/*)
    list(SORT _children)
    foreach(child ${_children})
      if(IS_DIRECTORY ${_path}/${child})
        kodaro_add_tree(${dir}/${child})
      endif()
    endforeach()
  endif()
endfunction()

macro(kodaro_add_subdirs)
  foreach(dir ${ARGN})
    kodaro_add_tree(${dir})
  endforeach()
endmacro()

# Warnings are errors in our own code; Windows targets get the wide API and a
# static runtime so nothing but the system DLLs must sit beside them.
function(kodaro_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  if(KODARO_WINDOWS)
    target_compile_definitions(${target} PUBLIC UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
    get_target_property(_type ${target} TYPE)
    if(NOT _type STREQUAL "STATIC_LIBRARY" AND NOT _type STREQUAL "INTERFACE_LIBRARY")
      target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
    endif()
  elseif(KODARO_SANITIZE)
    target_compile_options(${target} PRIVATE ${KODARO_SANITIZE_FLAGS})
    target_link_options(${target} PRIVATE ${KODARO_SANITIZE_FLAGS})
  endif()
endfunction()

function(kodaro_add_gtest)
  if(TARGET gtest)
    return()
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(t gtest gtest_main gmock gmock_main)
    if(TARGET ${t} AND KODARO_SANITIZE AND NOT KODARO_WINDOWS)
      target_compile_options(${t} PRIVATE ${KODARO_SANITIZE_FLAGS})
    endif()
  endforeach()
endfunction()

# kodaro_test(NAME name SOURCES ... [LIBS ...] [TIMEOUT seconds] [NO_MAIN] [DESKTOP])
# One GoogleTest program, registered as one CTest test. Windows test programs
# run through the Wine runner (the toolchain's cross-compiling emulator).
# DESKTOP: the program shows windows that take the activation and opens popups
# that close when another window takes it, so such programs take turns on the
# shared test display instead of closing each other's popups.
function(kodaro_test)
  cmake_parse_arguments(T "NO_MAIN;DESKTOP" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  kodaro_defaults(${T_NAME})
  if(T_NO_MAIN)
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} gtest gmock)
  else()
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} gtest gmock gtest_main)
  endif()
  target_compile_definitions(${T_NAME} PRIVATE KODARO_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_DESKTOP)
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK desktop)
  endif()
endfunction()
