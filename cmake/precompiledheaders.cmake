# Precompiled headers. The Qt and standard headers that most files include are parsed once per
# build instead of once per file: a small library makes the precompiled header and every other
# target reuses it. GCC takes a precompiled header only when the macros its headers test are
# defined alike: every macro defined when it was made must be defined the same way where it is
# used, and a macro its headers test must not be defined where it was not. The Qt Core and Qt
# Concurrent headers test none of the per-module macros (QT_GUI_LIB, QT_TESTLIB_LIB, ...) nor
# the test case folders, and the header is made with Qt Core's alone, so one header serves the
# libraries, the programs and the benchmarks, and a second one the tests, which are compiled
# without optimisation (it changes __OPTIMIZE__, which the standard headers test): their own
# code only drives the libraries, and compiling it takes most of a build's time.

set(MOXON_PRECOMPILED_HEADERS
    <QtCore/QByteArray> <QtCore/QCoreApplication> <QtCore/QDir> <QtCore/QFile>
    <QtCore/QFileInfo> <QtCore/QFuture> <QtCore/QHash> <QtCore/QJsonArray>
    <QtCore/QJsonDocument> <QtCore/QJsonObject> <QtCore/QList> <QtCore/QLocale>
    <QtCore/QObject> <QtCore/QProcess> <QtCore/QPromise> <QtCore/QRegularExpression>
    <QtCore/QSettings> <QtCore/QString> <QtCore/QStringList> <QtCore/QStringView>
    <QtCore/QTemporaryDir> <QtCore/QTextStream> <QtCore/QThread> <QtCore/QTimer>
    <QtCore/QVariant> <QtConcurrent/QtConcurrentRun>
    <algorithm> <array> <cmath> <complex> <functional> <memory> <optional> <variant> <vector>)

# Qt Gui, Widgets and Charts, which the window's headers pull in nearly whole: most of a window
# source's compile time is spent reading them. The window's two libraries reuse one header of
# the common ones and Widgets' (moxon_widgets_pch), made with the Qt module macros of Widgets,
# which its headers test; the design check's library defines Charts' besides, which none of
# them tests. The ui tests make a header of their own from these, Charts' and Qt Test's
# (moxon_precompile_own_headers), compiled with their own macros.
set(MOXON_WIDGETS_PRECOMPILED_HEADERS
    <QtGui/QPainter> <QtWidgets/QComboBox> <QtWidgets/QHBoxLayout> <QtWidgets/QLabel>
    <QtWidgets/QLineEdit> <QtWidgets/QPushButton> <QtWidgets/QWidget>)
set(MOXON_CHARTS_PRECOMPILED_HEADERS <QtCharts/QChartView> <QtCharts/QLineSeries>)

# The test's code compiled without optimisation and with line tables only, whatever the build
# type: a failure's backtrace still names its lines.
set(MOXON_TEST_COMPILE_OPTIONS -O0 -g1)

# A precompiled header that GCC finds unusable is skipped in silence, and the build then reads
# every header again; as an error it cannot go unnoticed.
add_compile_options(-Winvalid-pch)

# moxon_precompile_own_headers(<target> <headers...>): the target makes a precompiled header of
# its own, of the common headers and these, instead of reusing the shared one.
function(moxon_precompile_own_headers target)
    set_target_properties(${target} PROPERTIES MOXON_OWN_PRECOMPILED_HEADERS "${ARGN}")
endfunction()

# moxon_reuse_precompiled_headers(<target> <from>): the target reuses the precompiled header that
# `from` makes of its own; both must be compiled with the same macros.
function(moxon_reuse_precompiled_headers target from)
    set_target_properties(${target} PROPERTIES MOXON_REUSED_PRECOMPILED_HEADERS ${from})
endfunction()

function(moxon_add_precompiled_header name)
    add_library(${name} STATIC ${PROJECT_SOURCE_DIR}/cmake/precompiledheaders.cpp)
    # Qt Concurrent's headers without its QT_CONCURRENT_LIB, which the core libraries lack.
    target_link_libraries(${name} PRIVATE Qt6::Core)
    target_include_directories(${name} SYSTEM PRIVATE
        $<TARGET_PROPERTY:Qt6::Concurrent,INTERFACE_INCLUDE_DIRECTORIES>)
    target_precompile_headers(${name} PRIVATE ${MOXON_PRECOMPILED_HEADERS})
endfunction()

moxon_add_precompiled_header(moxon_pch)
moxon_add_precompiled_header(moxon_test_pch)
target_compile_options(moxon_test_pch PRIVATE ${MOXON_TEST_COMPILE_OPTIONS})
add_library(moxon_widgets_pch STATIC ${PROJECT_SOURCE_DIR}/cmake/precompiledheaders.cpp)
target_link_libraries(moxon_widgets_pch PRIVATE Qt6::Concurrent Qt6::Widgets)
target_precompile_headers(moxon_widgets_pch PRIVATE ${MOXON_PRECOMPILED_HEADERS}
    ${MOXON_WIDGETS_PRECOMPILED_HEADERS})

# Gives every C++ target of `dir` and below the precompiled header of its kind: the tests'
# (a target defined under tests/) or the others'. Called once, after every target exists.
function(moxon_use_precompiled_headers dir)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|EXECUTABLE)$"
                OR target MATCHES "^moxon(_test|_widgets)?_pch$")
            continue()
        endif()
        get_target_property(source_dir ${target} SOURCE_DIR)
        cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${source_dir}" NORMALIZE in_project)
        if(NOT in_project)
            continue()
        endif()
        cmake_path(RELATIVE_PATH source_dir BASE_DIRECTORY ${PROJECT_SOURCE_DIR}
            OUTPUT_VARIABLE relative)
        get_target_property(own_headers ${target} MOXON_OWN_PRECOMPILED_HEADERS)
        get_target_property(reused ${target} MOXON_REUSED_PRECOMPILED_HEADERS)
        if(relative MATCHES "^tests(/|$)")
            target_compile_options(${target} PRIVATE ${MOXON_TEST_COMPILE_OPTIONS})
            if(own_headers)
                target_precompile_headers(${target} PRIVATE ${MOXON_PRECOMPILED_HEADERS}
                    ${own_headers})
            else()
                target_precompile_headers(${target} REUSE_FROM moxon_test_pch)
            endif()
            # A test's moc output is included by its own source: the file that would compile
            # the rest is all but empty, and loading the header would cost more than it saves.
            get_target_property(binary_dir ${target} BINARY_DIR)
            set_source_files_properties(${binary_dir}/${target}_autogen/mocs_compilation.cpp
                TARGET_DIRECTORY ${target} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
        elseif(reused)
            target_precompile_headers(${target} REUSE_FROM ${reused})
        elseif(own_headers)
            target_precompile_headers(${target} PRIVATE ${MOXON_PRECOMPILED_HEADERS} ${own_headers})
        else()
            target_precompile_headers(${target} REUSE_FROM moxon_pch)
        endif()
    endforeach()
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(subdir IN LISTS subdirs)
        moxon_use_precompiled_headers(${subdir})
    endforeach()
endfunction()
