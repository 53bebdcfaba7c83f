# Debian packages by CPack (./dev package): one for the point editor with the two command-line
# programs that work on the same files (pointeditor-render, pointtool), one for the mission
# editor. The mission editor needs only Qt's widgets (and libjpeg and libpng, which Qt's image
# plugins use too, for its check of briefing images); apart, it does not pull in OpenGL and EGL
# for someone who only writes briefings. Nothing is shared at run time (the
# libraries are static), so no common package is needed.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "TAVO mission tools developers <tavo-tools@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL pointeditor missioneditor)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON) # runtime dependencies from the binaries, by dpkg-shlibdeps
# Loaded at run time, so dpkg-shlibdeps cannot see them: the font of the Japanese texts, Qt's
# Japanese texts for its buttons and dialogs, and Mesa's drivers (llvmpipe draws when there is
# no graphics card).
set(CPACK_DEBIAN_POINTEDITOR_PACKAGE_RECOMMENDS
    "fonts-ipafont-gothic, qt6-translations-l10n, libgl1-mesa-dri")
set(CPACK_DEBIAN_MISSIONEDITOR_PACKAGE_RECOMMENDS "fonts-ipafont-gothic, qt6-translations-l10n")
set(CPACK_DEBIAN_POINTEDITOR_PACKAGE_NAME pointeditor)
set(CPACK_DEBIAN_MISSIONEDITOR_PACKAGE_NAME missioneditor)
set(CPACK_COMPONENT_POINTEDITOR_DESCRIPTION
    "Point editor for TAVO missions\n"
    "Places the humans, weapons, paths and events of a TAVO mission on its map, in four views.\n"
    "Also holds pointeditor-render, which writes the editor's picture as a PNG without a\n"
    "display, and pointtool, which checks, dumps and rebuilds point files.")
set(CPACK_COMPONENT_MISSIONEDITOR_DESCRIPTION
    "Mission information editor for TAVO missions\n"
    "Reads and writes a mission's information file (.mif): its names, map and point files, sky,\n"
    "images and briefing, in one dialog.")
include(CPack)
