# `make package` (cpack -G DEB): one .deb with the three programs, the help, the menu entry,
# the icon and the AppStream metainfo, installed under /usr. The libraries the programs link
# are found by dpkg-shlibdeps; what they load at run time is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrin-converter)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Tavrin)
set(CPACK_PACKAGE_CONTACT "Tavrin <converter@tavrin.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "batch converter of video and audio files for Apple TV, iPod, iPhone and common formats")
set(CPACK_PACKAGE_DESCRIPTION
    "Add video and audio files to a list, pick an output profile, adjust size, rate, quality,\n"
    "channels and volume, and convert the checked files with live progress. Includes the\n"
    "command-line converters tavrin-convert and tavrin-transcode.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: Qt's display and SVG plug-ins, and
# the GStreamer elements the preview plays MP4, AVI, MP3, WMV and WAV with. The codec
# library's "extra" build (which also provides libavcodec59) has the AMR-NB encoder the 3GP
# profiles need.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libavcodec-extra59, qt6-qpa-plugins, libqt6svg6, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-bad, gstreamer1.0-plugins-ugly, gstreamer1.0-libav")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "desktop-file-utils")
include(CPack)
