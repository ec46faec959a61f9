# Build speed only: the linker and precompiled headers. Nothing here changes what is built or
# tested. Included by the top-level CMakeLists.txt before the first target (the linker must be
# chosen before targets are made); pondrel_precompile_headers() is called after the last one.

option(PONDREL_LLD "Link with lld when it is installed (much faster than ld.bfd)" ON)
option(PONDREL_PCH "Precompile the Qt and GoogleTest headers in Debug builds" ON)

if(PONDREL_LLD)
    find_program(PONDREL_LLD_PROGRAM ld.lld)
    if(PONDREL_LLD_PROGRAM)
        add_link_options(-fuse-ld=lld)
    endif()
endif()

# ccache caches a file compiled with a precompiled header only when told to overlook the header's
# macros and time stamps; without this every Qt file would miss the cache.
if(PONDREL_PCH AND CMAKE_CXX_COMPILER_LAUNCHER MATCHES "ccache$")
    set(CMAKE_CXX_COMPILER_LAUNCHER "${CMAKE_COMMAND}" -E env
        CCACHE_SLOPPINESS=pch_defines,time_macros ${CMAKE_CXX_COMPILER_LAUNCHER})
endif()

# Gives every target that links Qt Widgets, Qt Test or GoogleTest directly one shared precompiled
# header (REUSE_FROM): the headers are compiled once per build instead of once per file. GCC
# takes a precompiled header only when it was made with the same options (-fPIC, the Qt macros),
# so there is one host target per kind of user (Qt, with -fPIC; GoogleTest, without). An
# unusable one is a warning (-Winvalid-pch), hence an error with PONDREL_WERROR, never a silently
# slow build.
# Only in builds that do not optimise (Debug, as the sanitizer build): with -O2/-O3, GCC 12 loses
# the system-header status of standard headers read from a precompiled header and reports its
# false -Wstringop-overflow on std::u16string code inlined into our files.
function(pondrel_precompile_headers)
    if(NOT PONDREL_PCH OR NOT (CMAKE_BUILD_TYPE STREQUAL "Debug" OR NOT CMAKE_BUILD_TYPE))
        return()
    endif()
    # Every target of the project, from all directories.
    set(dirs "${CMAKE_SOURCE_DIR}")
    set(targets "")
    while(dirs)
        list(POP_FRONT dirs dir)
        get_property(dir_targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
        get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
        list(APPEND targets ${dir_targets})
        list(APPEND dirs ${subdirs})
    endwhile()

    set(anchor "${CMAKE_BINARY_DIR}/pondrel_pch_anchor.cpp")
    file(CONFIGURE OUTPUT "${anchor}" CONTENT "// Hosts a precompiled header.\n")
    set(std_headers <algorithm> <array> <functional> <memory> <optional> <string>
        <string_view> <vector>)

    set(hosts "")
    find_package(GTest QUIET)
    if(TARGET GTest::gtest)
        add_library(pondrel_pch_gtest OBJECT "${anchor}")
        target_link_libraries(pondrel_pch_gtest PRIVATE GTest::gtest pondrel_warnings)
        target_precompile_headers(pondrel_pch_gtest PRIVATE <gtest/gtest.h> ${std_headers}
                                  <filesystem> <fstream> <map>)
        list(APPEND hosts gtest)
    endif()
    # One Qt host for the Qt libraries and the Qt Test programs alike. Qt Test's own header stays
    # out of it: its macro QT_TESTCASE_BUILDDIR differs from folder to folder.
    if(PONDREL_BUILD_UI)
        find_package(Qt6 REQUIRED COMPONENTS Widgets)
        add_library(pondrel_pch_qt OBJECT "${anchor}")
        target_link_libraries(pondrel_pch_qt PRIVATE Qt6::Widgets pondrel_warnings)
        target_precompile_headers(pondrel_pch_qt PRIVATE <QApplication> <QCheckBox> <QDialog>
            <QGridLayout> <QHBoxLayout> <QHeaderView> <QKeyEvent> <QLabel> <QLineEdit>
            <QListWidget> <QMouseEvent> <QPainter> <QPlainTextEdit> <QPointer> <QPushButton>
            <QScrollBar> <QString> <QTimer> <QTreeWidget> <QVBoxLayout> <QWidget> ${std_headers})
        list(APPEND hosts qt)
    endif()

    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|OBJECT_LIBRARY)$")
            continue()
        endif()
        get_target_property(libs ${target} LINK_LIBRARIES)
        set(host "")
        if("Qt6::Widgets" IN_LIST libs OR "Qt6::Test" IN_LIST libs)
            set(host qt)
        elseif("GTest::gtest" IN_LIST libs AND NOT libs MATCHES "Qt6::|_ui(;|$)|(^|;)ui(;|$)")
            # A GoogleTest program that links a Qt library is built with -fPIC: no host fits.
            set(host gtest)
        endif()
        if(host AND host IN_LIST hosts)
            target_precompile_headers(${target} REUSE_FROM pondrel_pch_${host})
        endif()
    endforeach()
endfunction()
