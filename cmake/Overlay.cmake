# SPDX-License-Identifier: GPL-3.0-or-later
# The two overlay files are assembled from fragments, one per subsystem, so
# that each subsystem keeps its keys next to each other. The end marker is
# appended last; nothing after it is ever found as a key.
function(seaclone_overlay target_name out_name fragment_dir)
  file(GLOB fragments CONFIGURE_DEPENDS ${fragment_dir}/*.ovl)
  list(SORT fragments)
  set(out ${SEACLONE_RUNTIME_DIR}/${out_name})
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} "-DFRAGMENTS=${fragments}"
            -P ${CMAKE_SOURCE_DIR}/cmake/ConcatOverlay.cmake
    DEPENDS ${fragments} ${CMAKE_SOURCE_DIR}/cmake/ConcatOverlay.cmake
    COMMENT "Assembling ${out_name}"
    VERBATIM)
  add_custom_target(${target_name} ALL DEPENDS ${out})
  install(FILES ${out} DESTINATION ${SEACLONE_INSTALL_DATADIR})
endfunction()
