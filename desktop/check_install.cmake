# Installs the build tree into a scratch prefix and checks that every program, its man page, the
# editors' desktop entries, icons and metainfo land where desktops and man look for them.
#   cmake -DBUILD_DIR=... -DPREFIX=... -P check_install.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
set(expected)
foreach(program pointeditor pointeditor-render pointtool missioneditor)
    list(APPEND expected bin/${program} share/man/man1/${program}.1.gz)
endforeach()
foreach(editor pointeditor missioneditor)
    list(APPEND expected
         share/applications/${editor}.desktop
         share/icons/hicolor/scalable/apps/${editor}.svg
         share/icons/hicolor/48x48/apps/${editor}.png
         share/metainfo/org.tavo.${editor}.metainfo.xml)
    file(READ ${CMAKE_CURRENT_LIST_DIR}/${editor}.desktop entry)
    if(NOT entry MATCHES "\nExec=${editor}\n" OR NOT entry MATCHES "\nIcon=${editor}\n")
        message(FATAL_ERROR "${editor}.desktop does not start the installed program")
    endif()
endforeach()
foreach(path ${expected})
    if(NOT EXISTS ${PREFIX}/${path})
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
