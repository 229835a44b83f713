# Installs the program's component of the build into a scratch tree and checks what a Linux desktop looks for there:
# the program, its desktop entry, its metainfo and its icon at every size, and the tree as
# the AppStream tools read it.
# Arguments: BUILD_DIR, APP_ID, ICON_SIZES (a list), PRINT_MODULE (the printing module's path
# under the prefix).
set(root "${BUILD_DIR}/install-check")
file(REMOVE_RECURSE "${root}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${root}/usr" --component moxon
    RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(expected
    usr/bin/moxon
    usr/${PRINT_MODULE}
    usr/share/applications/${APP_ID}.desktop
    usr/share/metainfo/${APP_ID}.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/${APP_ID}.svg)
foreach(size IN LISTS ICON_SIZES)
    list(APPEND expected usr/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
foreach(path IN LISTS expected)
    if(NOT EXISTS "${root}/${path}")
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()

file(STRINGS "${root}/usr/share/applications/${APP_ID}.desktop" icon_line REGEX "^Icon=")
if(NOT icon_line STREQUAL "Icon=${APP_ID}")
    message(FATAL_ERROR "the desktop entry names its icon as '${icon_line}', not 'Icon=${APP_ID}'")
endif()

execute_process(COMMAND appstreamcli validate-tree --no-net "${root}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "appstreamcli validate-tree failed:\n${output}")
endif()
file(REMOVE_RECURSE "${root}")
