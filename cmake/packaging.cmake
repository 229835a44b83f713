# The Debian package: what it carries beside the programs and the desktop files (manual pages,
# bash completion, copyright, changelog), and the settings of CPack's DEB generator.
# `cpack -G DEB` in the build tree, or `cpack --preset default`, makes the .deb.

set(MOXON_PACKAGE_NAME moxon)
set(moxon_docdir ${CMAKE_INSTALL_DATADIR}/doc/${MOXON_PACKAGE_NAME})
set(moxon_dist ${PROJECT_SOURCE_DIR}/dist)
set(moxon_man ${PROJECT_BINARY_DIR}/man)

# The package's version comes from the changelog's latest entry, "moxon (<version>-<revision>)":
# a release that raises the project's version without an entry stops here, instead of shipping
# a package whose changelog and metainfo contradict its version.
file(STRINGS ${moxon_dist}/changelog changelog_lines)
list(GET changelog_lines 0 changelog_head)
if(NOT changelog_head MATCHES "^${MOXON_PACKAGE_NAME} \\(([^ )]+)-([^ )-]+)\\) ")
    message(FATAL_ERROR "dist/changelog: the first line is no entry of ${MOXON_PACKAGE_NAME}: ${changelog_head}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "dist/changelog: the latest entry is version ${CMAKE_MATCH_1}, the project is "
        "${PROJECT_VERSION}; add an entry for ${PROJECT_VERSION}")
endif()
set(MOXON_DEBIAN_REVISION ${CMAKE_MATCH_2})
# The entry's trailer line: " -- Name <address>  Mon, 07 Dec 2026 12:00:00 +0000".
foreach(line IN LISTS changelog_lines)
    if(line MATCHES "^ -- .*  [A-Z][a-z][a-z], ([0-9][0-9]?) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
        set(release_day ${CMAKE_MATCH_1})
        set(release_month ${CMAKE_MATCH_2})
        set(release_year ${CMAKE_MATCH_3})
        break()
    endif()
endforeach()
if(NOT release_year)
    message(FATAL_ERROR "dist/changelog: the latest entry has no trailer line with its date")
endif()
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${release_month} month_index)
if(month_index LESS 0)
    message(FATAL_ERROR "dist/changelog: '${release_month}' is no month")
endif()
math(EXPR month_number "${month_index} + 1")
string(LENGTH "${release_day}" day_digits)
if(day_digits EQUAL 1)
    string(PREPEND release_day 0)
endif()
if(month_number LESS 10)
    string(PREPEND month_number 0)
endif()
set(MOXON_RELEASE_DATE ${release_year}-${month_number}-${release_day})
file(READ ${moxon_dist}/${MOXON_APP_ID}.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<release version=\"${PROJECT_VERSION}\" date=\"${MOXON_RELEASE_DATE}\"")
    message(FATAL_ERROR "dist/${MOXON_APP_ID}.metainfo.xml: no release ${PROJECT_VERSION} of "
        "${MOXON_RELEASE_DATE}, the date of the changelog's latest entry")
endif()

# Manual pages. moxon-cli's is made from its own --help texts, the program's and each
# command's, so that it cannot drift from the program; moxon's is written by hand.
find_program(MOXON_HELP2MAN help2man)
if(NOT MOXON_HELP2MAN)
    message(FATAL_ERROR "help2man is missing; `bash scripts/install-deps.sh run` installs it")
endif()
configure_file(${moxon_dist}/moxon.1.in ${moxon_man}/moxon.1 @ONLY)
set(moxon_help_env LC_ALL=C.UTF-8)
if(MOXON_SANITIZE)
    # Leaks at exit are the tests' business; here a report would only break the build.
    list(APPEND moxon_help_env ASAN_OPTIONS=detect_leaks=0)
endif()
add_custom_command(OUTPUT ${moxon_man}/moxon-cli-commands.h2m
    COMMAND ${CMAKE_COMMAND} -E env ${moxon_help_env}
        bash ${PROJECT_SOURCE_DIR}/cmake/commands-h2m.sh $<TARGET_FILE:moxon-cli>
        ${moxon_man}/moxon-cli-commands.h2m
    DEPENDS moxon-cli ${PROJECT_SOURCE_DIR}/cmake/commands-h2m.sh
    COMMENT "Collecting the help of moxon-cli's commands"
    VERBATIM)
add_custom_command(OUTPUT ${moxon_man}/moxon-cli.1
    COMMAND ${CMAKE_COMMAND} -E env ${moxon_help_env}
        ${MOXON_HELP2MAN} --no-info --section=1
        "--source=moxon ${PROJECT_VERSION}" "--manual=User Commands"
        --include=${moxon_dist}/moxon-cli.h2m --include=${moxon_man}/moxon-cli-commands.h2m
        --output=${moxon_man}/moxon-cli.1 $<TARGET_FILE:moxon-cli>
    DEPENDS moxon-cli ${moxon_dist}/moxon-cli.h2m ${moxon_man}/moxon-cli-commands.h2m
    COMMENT "Generating the manual page moxon-cli(1)"
    VERBATIM)
# Debian compresses manual pages and changelogs with gzip -9 and without a time stamp (-n),
# so that a rebuild gives the same bytes.
set(moxon_gzipped "")
foreach(source IN ITEMS ${moxon_man}/moxon.1 ${moxon_man}/moxon-cli.1 ${moxon_dist}/changelog)
    get_filename_component(name ${source} NAME)
    if(name STREQUAL "changelog")
        set(name changelog.Debian)
    endif()
    add_custom_command(OUTPUT ${moxon_man}/${name}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${source} ${moxon_man}/${name}.plain
        COMMAND gzip -9 -n -f ${moxon_man}/${name}.plain
        COMMAND ${CMAKE_COMMAND} -E rename ${moxon_man}/${name}.plain.gz ${moxon_man}/${name}.gz
        DEPENDS ${source}
        VERBATIM)
    list(APPEND moxon_gzipped ${moxon_man}/${name}.gz)
endforeach()
add_custom_target(moxon_package_files ALL DEPENDS ${moxon_gzipped})

install(FILES ${moxon_man}/moxon.1.gz ${moxon_man}/moxon-cli.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT moxon)
install(FILES ${moxon_dist}/moxon-cli.bash
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
    RENAME moxon-cli COMPONENT moxon)
install(FILES ${moxon_dist}/copyright ${moxon_man}/changelog.Debian.gz
    DESTINATION ${moxon_docdir} COMPONENT moxon)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${MOXON_PACKAGE_NAME})
set(CPACK_PACKAGE_VENDOR "The Moxon calculator developers")
set(CPACK_PACKAGE_CONTACT "The Moxon calculator developers <moxon@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calculator for Moxon rectangle beam antennas")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [[
For radio amateurs who build a Moxon rectangle, the two-element beam whose
driven element and reflector are bent towards each other into a rectangle.
From the design frequency and the wire size (a diameter in inches or
millimetres, or an AWG gauge) the window works out the five dimensions A to E
in feet, inches, metres or millimetres, prints them as a one-page design
sheet, and exports the antenna as a six-wire model: an NEC-2 card deck or a
binary model file, in horizontal or vertical polarization.

moxon-cli does the same from the command line, for one frequency or for every
amateur band from 160 m to 23 cm, writes the same model files, and checks a
design with nec2c: feed-point impedance, SWR, gain and front-to-back ratio.
]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${MOXON_DEBIAN_REVISION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends: the libraries the programs link, as dpkg-shlibdeps finds them (Qt and the C++
# runtime, with the versions they need).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The NEC-2 engine behind `moxon-cli check` and the design check.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS nec2c)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Debian ships binaries without their debugging symbols, and with files and folders that only
# root may change, whatever the umask of the build.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)

# The window's modules call Qt only and so link no libc of their own; lintian is told why.
install(FILES ${CMAKE_SOURCE_DIR}/dist/moxon.lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME moxon COMPONENT moxon)
