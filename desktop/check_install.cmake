# Installs the build tree into a scratch prefix and checks that the point editor's programs,
# desktop entries and icon land where desktops look for them.
#   cmake -DBUILD_DIR=... -DPREFIX=... -P check_install.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(path
        bin/pointeditor
        bin/pointeditor-render
        share/applications/pointeditor.desktop
        share/applications/pointeditor-render.desktop
        share/icons/hicolor/scalable/apps/pointeditor.svg)
    if(NOT EXISTS ${PREFIX}/${path})
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()
file(READ ${PREFIX}/share/applications/pointeditor.desktop entry)
if(NOT entry MATCHES "\nExec=pointeditor\n" OR NOT entry MATCHES "\nIcon=pointeditor\n")
    message(FATAL_ERROR "pointeditor.desktop does not start the installed program")
endif()
file(REMOVE_RECURSE ${PREFIX})
