# SPDX-License-Identifier: GPL-3.0-or-later
# The user manual: HTML pages in docs/manual compiled into the Qt help file
# that GI_Sys_MyHelpFile names, beside the program like the overlays. The
# context numbers come from GI_AppItem_CellName_to_ContextID in the help
# overlay fragments and the anchors in the pages (cmake/HelpProject.cmake),
# so the number-to-topic map is never kept by hand.
#
# Without Qt's help module or qhelpgenerator the program still builds; help
# is then quietly unavailable, as on a machine without it.
find_package(Qt6 QUIET COMPONENTS Help)
find_program(SEACLONE_QHELPGENERATOR qhelpgenerator
  HINTS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_LIBEXECS} /usr/lib/qt6/libexec /usr/lib/qt6/bin)

set(SEACLONE_HELP_AVAILABLE OFF)
if(TARGET Qt6::Help AND SEACLONE_QHELPGENERATOR)
  set(SEACLONE_HELP_AVAILABLE ON)
endif()

function(seaclone_help_link target)
  if(SEACLONE_HELP_AVAILABLE)
    target_link_libraries(${target} PUBLIC Qt6::Help)
    target_compile_definitions(${target} PUBLIC SEACLONE_HAVE_QT_HELP)
  endif()
endfunction()

function(seaclone_help_file target_name)
  if(NOT SEACLONE_HELP_AVAILABLE)
    message(STATUS "Qt help module or qhelpgenerator missing: building without the help file")
    add_custom_target(${target_name})
    return()
  endif()
  set(manual ${CMAKE_SOURCE_DIR}/docs/manual)
  file(GLOB fragments CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/overlay/help/*.ovl)
  list(SORT fragments)
  file(GLOB_RECURSE pages CONFIGURE_DEPENDS ${manual}/*.html ${manual}/*.css ${manual}/*.png ${manual}/*.qhp.in)
  # The file name is the overlay's, so the program and the build agree.
  set(help_name "")
  foreach(f IN LISTS fragments)
    file(STRINGS ${f} lines)
    list(FIND lines "#GI_Sys_MyHelpFile" at)
    if(at GREATER -1)
      math(EXPR at "${at} + 1")
      list(GET lines ${at} help_name)
    endif()
  endforeach()
  if(help_name STREQUAL "")
    message(FATAL_ERROR "GI_Sys_MyHelpFile is in no help overlay fragment")
  endif()
  set(work ${CMAKE_BINARY_DIR}/manual)
  set(qhp ${work}/seaclone.qhp)
  set(qch ${SEACLONE_RUNTIME_DIR}/${help_name})
  add_custom_command(
    OUTPUT ${qch}
    COMMAND ${CMAKE_COMMAND} -DMANUAL=${manual} -DWORK=${work} "-DFRAGMENTS=${fragments}"
            -P ${CMAKE_SOURCE_DIR}/cmake/HelpProject.cmake
    COMMAND ${SEACLONE_QHELPGENERATOR} ${qhp} -o ${qch}.tmp
    COMMAND ${CMAKE_COMMAND} -E rename ${qch}.tmp ${qch}
    DEPENDS ${pages} ${fragments} ${CMAKE_SOURCE_DIR}/cmake/HelpProject.cmake
    COMMENT "Compiling the user manual into ${help_name}"
    VERBATIM)
  add_custom_target(${target_name} ALL DEPENDS ${qch})
  install(FILES ${qch} DESTINATION ${SEACLONE_INSTALL_DATADIR})
endfunction()
