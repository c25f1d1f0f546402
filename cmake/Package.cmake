# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package (scripts/package runs cpack -G DEB). Its Depends come
# from the shared libraries the programs actually link (dpkg-shlibdeps), so
# they follow whatever Qt the build found.
set(CPACK_PACKAGE_NAME seaclone)
set(CPACK_PACKAGE_VENDOR "Seaclone developers")
set(CPACK_PACKAGE_CONTACT "Seaclone developers <developers@seaclone.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "program a handheld marine VHF radio over its cable")
set(CPACK_PACKAGE_DESCRIPTION
    "Seaclone reads the memory of a handheld marine VHF radio over its USB-serial
programming cable, shows it as pages of channels and settings, lets you edit
every value in place, saves and opens clone data files, prints the pages and
writes the memory back to the radio.

The package holds the desktop program, seaclone-cli for scripts and batch
work, and seaclone-radio-sim, a simulated radio on a pseudo-terminal.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://seaclone.org/")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "desktop-file-utils, shared-mime-info")

# What Debian asks of every package: the copyright and the changelog in the
# package's doc folder, the changelog compressed as the man pages are.
seaclone_gzip(${CMAKE_SOURCE_DIR}/data/debian/changelog ${CMAKE_BINARY_DIR}/debian/changelog.gz)
add_custom_target(seaclone_debian_docs ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.gz)
install(FILES ${CMAKE_SOURCE_DIR}/data/debian/copyright ${CMAKE_BINARY_DIR}/debian/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/seaclone)

set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
