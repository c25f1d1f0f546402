# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source file includes a header of a layer above its own.
# Run as a script by the seaclone_layer_check target, which every layer
# library and test program depends on:
#   cmake -DSOURCE_DIR=<repo> -DSTAMP=<file> -P cmake/CheckLayers.cmake
#
# The layers, lowest first. A file may include headers of its own layer and
# of the layers before it in this list, nothing above.
cmake_minimum_required(VERSION 3.25)
set(layer_order platform base text model radio layout spreadsheet platform_qt settings ui output shell app)
# The command-line tool sits on the core; only its print command paints
# through the printing layer and what that stands on.
set(cli_allowed platform base text model radio layout spreadsheet platform_qt settings ui output cli)

# The layer of a folder below src/ (or of an include path's first folders).
function(layer_of_path path out)
  if(path MATCHES "^platform/qt/")
    set(${out} platform_qt PARENT_SCOPE)
  elseif(path MATCHES "^platform/")  # with its posix/, win32/ and qtcore/ backends
    set(${out} platform PARENT_SCOPE)
  elseif(path MATCHES "^([a-z_]+)/")
    set(folder ${CMAKE_MATCH_1})
    if(folder IN_LIST layer_order OR folder STREQUAL "cli")
      set(${out} ${folder} PARENT_SCOPE)
    else()
      set(${out} "" PARENT_SCOPE)
    endif()
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

# The layer a test folder's program sits on: the tests of platform/ include
# its Qt backends, the tools and whole-program tests drive the command-line
# tool's core.
function(layer_of_test_folder folder out)
  if(folder STREQUAL "platform" OR folder STREQUAL "hardening")
    set(${out} platform_qt PARENT_SCOPE)
  elseif(folder MATCHES "^(tools|integration|cli|windows)$")
    set(${out} cli PARENT_SCOPE)
  elseif(folder STREQUAL "win32")  # the Win32 backends' tests, on the whole core
    set(${out} layout PARENT_SCOPE)
  elseif(folder STREQUAL "wayland")  # the whole window on a Wayland compositor
    set(${out} shell PARENT_SCOPE)
  else()
    set(${out} ${folder} PARENT_SCOPE)
  endif()
endfunction()

function(allowed_layers layer out)
  if(layer STREQUAL "cli")
    set(${out} ${cli_allowed} PARENT_SCOPE)
    return()
  endif()
  list(FIND layer_order ${layer} at)
  if(at LESS 0)
    set(${out} "" PARENT_SCOPE)
    return()
  endif()
  list(SUBLIST layer_order 0 ${at} below)
  set(${out} ${below} ${layer} PARENT_SCOPE)
endfunction()

set(problems "")

# Checks every quoted include of one file: against the layers it may use
# (layer; "" for none), and, where test_folder is given, that it takes
# nothing of another test folder. A file of a test folder may include its
# own folder's headers and tests/support/, never another test folder's: what
# two suites share lives in support/. Such a path is looked up as the
# compiler does, beside the file first, then from tests/ ("layout/x.h" is
# src/layout's unless tests/layout/x.h exists).
function(check_file file layer)
  set(test_folder ${ARGN})
  if(NOT layer STREQUAL "")
    allowed_layers(${layer} allowed)
  endif()
  get_filename_component(here ${file} DIRECTORY)
  file(RELATIVE_PATH rel ${SOURCE_DIR} ${file})
  file(STRINGS ${file} lines)
  set(n 0)
  foreach(line IN LISTS lines)
    math(EXPR n "${n} + 1")
    if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\"")
      continue()
    endif()
    set(included ${CMAKE_MATCH_1})
    if(NOT layer STREQUAL "")
      layer_of_path(${included} target)
      if(NOT target STREQUAL "" AND NOT target IN_LIST allowed)
        string(APPEND problems "${rel}:${n}: layer '${layer}' includes \"${included}\" of layer '${target}', which lies above it\n")
      endif()
    endif()
    if(NOT ARGN)
      continue()
    endif()
    if(EXISTS ${here}/${included})
      get_filename_component(found ${here}/${included} ABSOLUTE)
    elseif(EXISTS ${SOURCE_DIR}/tests/${included})
      get_filename_component(found ${SOURCE_DIR}/tests/${included} ABSOLUTE)
    else()
      continue()
    endif()
    file(RELATIVE_PATH found_rel ${SOURCE_DIR}/tests ${found})
    if(found_rel MATCHES "^([a-z_]+)/" AND NOT CMAKE_MATCH_1 STREQUAL test_folder
       AND NOT CMAKE_MATCH_1 STREQUAL "support")
      string(APPEND problems "${rel}:${n}: includes \"${included}\" of the test folder '${CMAKE_MATCH_1}'; move what both use to tests/support/\n")
    endif()
  endforeach()
  set(problems "${problems}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp)
foreach(rel IN LISTS sources)
  layer_of_path(${rel} layer)
  if(NOT layer STREQUAL "")
    check_file(${SOURCE_DIR}/src/${rel} ${layer})
  endif()
endforeach()

file(GLOB_RECURSE tests RELATIVE ${SOURCE_DIR}/tests ${SOURCE_DIR}/tests/*.h ${SOURCE_DIR}/tests/*.cpp)
foreach(rel IN LISTS tests)
  if(NOT rel MATCHES "^([a-z_]+)/")
    continue()
  endif()
  set(folder ${CMAKE_MATCH_1})
  if(folder STREQUAL "data")
    continue()
  endif()
  set(layer "")
  if(NOT folder STREQUAL "support")
    layer_of_test_folder(${folder} layer)
  endif()
  check_file(${SOURCE_DIR}/tests/${rel} "${layer}" ${folder})
endforeach()

# The programs beside the product: the radio simulator and the initial-image
# builder stand on the core, the fuzz harnesses on the core and its
# spreadsheet reader, the clone bench on the command-line tool's core, the
# other benches on the whole program.
file(GLOB_RECURSE extras RELATIVE ${SOURCE_DIR}
     ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tools/*.cpp
     ${SOURCE_DIR}/bench/*.h ${SOURCE_DIR}/bench/*.cpp
     ${SOURCE_DIR}/fuzz/*.h ${SOURCE_DIR}/fuzz/*.cpp)
foreach(rel IN LISTS extras)
  if(rel MATCHES "^tools/")
    set(layer layout)
  elseif(rel MATCHES "^fuzz/")
    set(layer spreadsheet)
  elseif(rel MATCHES "^bench/clone-speed/")
    set(layer cli)
  else()
    set(layer app)
  endif()
  check_file(${SOURCE_DIR}/${rel} ${layer} none)
endforeach()

if(NOT problems STREQUAL "")
  string(JOIN " -> " order ${layer_order})
  message(FATAL_ERROR "A file includes a header of a higher layer.\n"
                      "Layers, lowest first: ${order}; cli sits on output and below.\n${problems}")
endif()
file(TOUCH ${STAMP})
