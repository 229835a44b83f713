# Installs the program's component of the build into a scratch tree and checks what a Linux desktop looks for there:
# the program, its desktop entry, its metainfo and its icon at every size, and the tree as
# the AppStream tools read it; and what the Debian package carries beside them: moxon-cli, the
# compressed manual pages, the bash completion, the copyright and the changelog.
# Arguments: BUILD_DIR, APP_ID, ICON_SIZES (a list), MODULE_DIR (where the window's modules
# lie under the prefix).
set(root "${BUILD_DIR}/install-check")
file(REMOVE_RECURSE "${root}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${root}/usr" --component moxon
    RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(expected
    usr/bin/moxon
    usr/${MODULE_DIR}/moxon-print.so
    usr/${MODULE_DIR}/moxon-check.so
    usr/share/applications/${APP_ID}.desktop
    usr/share/metainfo/${APP_ID}.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/${APP_ID}.svg
    usr/bin/moxon-cli
    usr/share/man/man1/moxon.1.gz
    usr/share/man/man1/moxon-cli.1.gz
    usr/share/bash-completion/completions/moxon-cli
    usr/share/doc/moxon/copyright
    usr/share/doc/moxon/changelog.Debian.gz)
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
