# The Debian packages, made by "cpack -G DEB" in the build folder: "quillet" (the window,
# quillet-cli, their data, manuals and desktop files) and "quillet-service" (the reference
# beaming service and its systemd user unit). Dependencies come from the shared libraries the
# programs link (dpkg-shlibdeps), plus the libraries the program loads itself when it needs them.
set(QUILLET_MAINTAINER "The Quillet developers <maintainers@quillet.org>" CACHE STRING
    "The packages' maintainer, name and mail address")

# Every package carries its copyright file and its Debian changelog.
configure_file(${PROJECT_SOURCE_DIR}/data/debian/changelog.in
               ${CMAKE_BINARY_DIR}/debian/changelog.Debian @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz
                   COMMAND gzip -9 -n -k -f ${CMAKE_BINARY_DIR}/debian/changelog.Debian
                   DEPENDS ${PROJECT_SOURCE_DIR}/data/debian/changelog.in
                   COMMENT "Compressing the Debian changelog")
add_custom_target(quillet_debian_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz)
foreach(component IN ITEMS quillet service)
  set(package quillet)
  if(component STREQUAL "service")
    set(package quillet-service)
  endif()
  install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright
                ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillet)
set(CPACK_PACKAGE_VENDOR "The Quillet developers")
set(CPACK_PACKAGE_VERSION ${QUILLET_RELEASE_VERSION})
set(CPACK_PACKAGE_CONTACT ${QUILLET_MAINTAINER})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL quillet service)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUILLET_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})

# The libraries the program loads by name when it first needs them, so dpkg-shlibdeps does not
# see them: libcurl for sending and FFmpeg's for Windows Media files. (The embedded browser's
# helper process comes with libqt6webenginecore6's own dependencies.)
set(loaded libcurl4)
if(QUILLET_WITH_FFMPEG)
  pkg_check_modules(QUILLET_FF QUIET libavformat libavcodec libavutil libswresample)
  foreach(library IN ITEMS avformat avcodec avutil swresample)
    string(REGEX MATCH "^[0-9]+" major "${QUILLET_FF_lib${library}_VERSION}")
    list(APPEND loaded lib${library}${major})
  endforeach()
endif()
list(JOIN loaded ", " loaded)

set(CPACK_DEBIAN_QUILLET_PACKAGE_NAME quillet)
set(CPACK_DEBIAN_QUILLET_PACKAGE_DEPENDS ${loaded})
set(CPACK_DEBIAN_QUILLET_PACKAGE_SUGGESTS quillet-service)
set(CPACK_DEBIAN_QUILLET_DESCRIPTION "ringtone maker for the desktop
Quillet makes ringtones out of your own music without an audio editor to learn.
Load a piece of audio (WAV, MP3, OGG Vorbis, WMA/WMV/ASF, a track of an audio
CD, or a recording from the sound card), look at its waveform on a zoomable
time axis, pick 1 to 30 seconds with a fade-in and a fade-out, listen to it,
and send it: Quillet cuts the selection, applies the fades and a normalization
gain, encodes it as OGG Vorbis and uploads it to a web service whose pages
finish the transfer to the phone.

This package holds the window (quillet) and the command-line tool
(quillet-cli), which does the same one command at a time. The program speaks
English and German.")

set(CPACK_DEBIAN_SERVICE_PACKAGE_NAME quillet-service)
set(CPACK_DEBIAN_SERVICE_PACKAGE_SECTION net)
set(CPACK_DEBIAN_SERVICE_DESCRIPTION "reference beaming service for Quillet
A small HTTP server that plays the service's side of sending a ringtone from
Quillet to a phone: it answers the program's upload, checks and stores the
OGG Vorbis ringtones, and serves the pages on which a person sends a ringtone
to a phone number or downloads it. It listens on 127.0.0.1:8645, where
Quillet's default settings point, and comes with a systemd user unit.
Switches make it misbehave on purpose, for testing the program.")

include(CPack)
