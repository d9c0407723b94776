# The Debian package, built by scripts/package with CPack: the install layout
# under /usr, the libraries found by dpkg-shlibdeps, and the run-time needs
# that no library link shows (the browser's helper process, the media
# framework's plugins, fonts, the MIDI sound font).

set(debian_doc "${CMAKE_BINARY_DIR}/packaging")
# Debian wants the changelog compressed, without a time stamp.
add_custom_command(OUTPUT "${debian_doc}/changelog.gz"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${debian_doc}"
    COMMAND ${CMAKE_COMMAND} -E copy "${PROJECT_SOURCE_DIR}/packaging/changelog" "${debian_doc}/changelog"
    COMMAND gzip -9 -n -f "${debian_doc}/changelog"
    DEPENDS "${PROJECT_SOURCE_DIR}/packaging/changelog"
    VERBATIM)
add_custom_target(glintbox_debian_changelog ALL DEPENDS "${debian_doc}/changelog.gz")
install(FILES "${PROJECT_SOURCE_DIR}/packaging/copyright" "${debian_doc}/changelog.gz"
    DESTINATION share/doc/glintbox)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME glintbox)
set(CPACK_PACKAGE_VERSION 2.00)
set(CPACK_PACKAGE_CONTACT "Devezud Iziruvuz <glintbox@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fast viewer for text, web pages, pictures, movies and sounds")
# Lines of at most 80 characters, as Debian wants them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Glintbox shows a drive list, a folder list and a file list beside a viewer."
    "Selecting a file shows it at once in the view that suits it: plain or rich"
    "text, a web page, a picture or Windows metafile that zooms from 25% to 1000%,"
    "a movie or sound, or a launcher for programs. A file filter, a maximum file"
    "size and every other choice are kept between runs.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://glintbox.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-image-formats-plugins, gstreamer1.0-plugins-base, \
gstreamer1.0-plugins-good, gstreamer1.0-plugins-bad, gstreamer1.0-libav, \
fonts-dejavu-core, fonts-symbola, timgm6mb-soundfont")
include(CPack)
