# SPDX-License-Identifier: GPL-3.0-or-later
# What makes an installed Seaclone a desktop program: the desktop entry, the
# file type of clone data files, the AppStream metainfo, the program icon in
# the hicolor theme, the man pages and the shell completion. Everything the
# programs read at run time lies under ${SEACLONE_INSTALL_DATADIR}; nothing is
# written beside the programs.
set(SEACLONE_APP_ID org.seaclone.Seaclone)
set(desktop_dir ${CMAKE_SOURCE_DIR}/data/desktop)

install(FILES ${desktop_dir}/${SEACLONE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop_dir}/${SEACLONE_APP_ID}.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${desktop_dir}/${SEACLONE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The PNG sizes are rendered from the SVG by scripts/render-icons.
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${desktop_dir}/icons/seaclone-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${SEACLONE_APP_ID}.png)
endforeach()
install(FILES ${desktop_dir}/icons/seaclone.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${SEACLONE_APP_ID}.svg)

# Compressed as Debian asks (gzip -9n): without the file's name or time, so
# that two builds give the same bytes. man reads them as they are.
find_program(SEACLONE_GZIP gzip REQUIRED)
function(seaclone_gzip source output)
  get_filename_component(folder ${output} DIRECTORY)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND sh -c "\"$0\" -9nc \"$1\" >\"$2\"" ${SEACLONE_GZIP} ${source} ${output}
    DEPENDS ${source}
    VERBATIM)
endfunction()

set(seaclone_man_pages "")
foreach(page seaclone seaclone-cli seaclone-radio-sim)
  seaclone_gzip(${CMAKE_SOURCE_DIR}/data/man/${page}.1 ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
  list(APPEND seaclone_man_pages ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
endforeach()
add_custom_target(seaclone_man_pages ALL DEPENDS ${seaclone_man_pages})
install(FILES ${seaclone_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/data/completion/seaclone-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
