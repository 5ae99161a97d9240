# The Debian package, built by "cpack -G DEB" in the build folder. Its library dependencies
# are found by dpkg-shlibdeps from what the installed programs link; the player is only
# recommended, since any MP3 player (or the desktop's own) will do.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mp3tunestead)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The MP3 Tunestead developers")
# The maintainers' address, the one the project's history is written under.
set(TUNESTEAD_PACKAGE_CONTACT
  "MP3 Tunestead maintainers <maintainers@users.noreply.c-seed-0e6e951c.example>"
  CACHE STRING "Maintainer of the Debian package")
set(CPACK_PACKAGE_CONTACT "${TUNESTEAD_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "catalogue of MP3 albums described by descript.ion files")
set(CPACK_PACKAGE_DESCRIPTION
  "MP3 Tunestead shows a collection of MP3 albums, described by plain-text descript.ion\n"
  "files, as a tree of categories and albums; it lists an album's songs with their\n"
  "lengths, finds albums by a piece of their category or title, keeps a playlist of\n"
  "songs and albums, and hands them to the MP3 player of your choice.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The windows are drawn in Liberation Sans at a fixed size.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "mpv")
include(CPack)
