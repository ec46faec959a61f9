# Debian packages, made by "cpack -G DEB" in a build folder after the build:
#   pondrel         the program, pondrel-tool, the factory installation folder, the desktop entry,
#                   icon, AppStream metadata and the manual pages of both commands;
#   pondrel-server  the synchronisation server, its systemd unit (user pondrel, data in
#                   /var/lib/pondrel-server) and its manual page.
# The manual pages are made at build time from each command's --help (tools/man/make_man.py).
include(GNUInstallDirs)

set(PONDREL_PACKAGE_DIR "${CMAKE_CURRENT_LIST_DIR}")
set(PONDREL_MAN_DIR "${CMAKE_BINARY_DIR}/man")
set(pondrel_man_pages)
set(pondrel_man_commands pondrel-tool pondrel-server)
if(PONDREL_BUILD_UI)
    list(PREPEND pondrel_man_commands pondrel)
endif()
foreach(command IN LISTS pondrel_man_commands)
    add_custom_command(OUTPUT "${PONDREL_MAN_DIR}/${command}.1.gz"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${PONDREL_MAN_DIR}"
        COMMAND Python3::Interpreter "${CMAKE_SOURCE_DIR}/tools/man/make_man.py"
                "$<TARGET_FILE:${command}>" "${PONDREL_MAN_DIR}/${command}.1"
        COMMAND gzip -9nf "${PONDREL_MAN_DIR}/${command}.1"
        DEPENDS ${command} "${CMAKE_SOURCE_DIR}/tools/man/make_man.py"
        COMMENT "Making the manual page of ${command} from its --help"
        VERBATIM)
    list(APPEND pondrel_man_pages "${PONDREL_MAN_DIR}/${command}.1.gz")
endforeach()
add_custom_target(pondrel_man ALL DEPENDS ${pondrel_man_pages})

configure_file("${PONDREL_PACKAGE_DIR}/debian/changelog.in" "${CMAKE_BINARY_DIR}/debian/changelog"
               @ONLY)
add_custom_command(OUTPUT "${CMAKE_BINARY_DIR}/debian/changelog.gz"
    COMMAND gzip -9nkf "${CMAKE_BINARY_DIR}/debian/changelog"
    DEPENDS "${CMAKE_BINARY_DIR}/debian/changelog" VERBATIM)
# The units as packaged (prefix /usr): the server in /usr/bin rather than /usr/local/bin. The
# template unit runs instance N of several sharing one PostgreSQL store.
foreach(unit pondrel-server.service pondrel-server@.service)
    file(READ "${PONDREL_PACKAGE_DIR}/${unit}" pondrel_unit)
    string(REPLACE "/usr/local/bin/pondrel-server" "/usr/${CMAKE_INSTALL_BINDIR}/pondrel-server"
           pondrel_unit "${pondrel_unit}")
    file(WRITE "${CMAKE_BINARY_DIR}/debian/${unit}" "${pondrel_unit}")
endforeach()
add_custom_target(pondrel_package_files ALL DEPENDS "${CMAKE_BINARY_DIR}/debian/changelog.gz")

# ---- pondrel -----------------------------------------------------------------------------------
if(PONDREL_BUILD_UI)
    install(TARGETS pondrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
endif()
install(TARGETS pondrel-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
install(DIRECTORY "${PONDREL_FACTORY_DIR}/" DESTINATION ${CMAKE_INSTALL_DATADIR}/pondrel/factory
        COMPONENT program
        PATTERN "README.md" EXCLUDE PATTERN "src" EXCLUDE)
install(PROGRAMS "${PONDREL_PACKAGE_DIR}/pondrel-start"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/pondrel COMPONENT program)
install(FILES "${PONDREL_PACKAGE_DIR}/org.pondrel.Pondrel.desktop"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT program)
install(FILES "${PONDREL_PACKAGE_DIR}/org.pondrel.Pondrel.metainfo.xml"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT program)
install(FILES "${PONDREL_PACKAGE_DIR}/org.pondrel.Pondrel.svg"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT program)
foreach(command pondrel pondrel-tool)
    if(command IN_LIST pondrel_man_commands)
        install(FILES "${PONDREL_MAN_DIR}/${command}.1.gz"
                DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT program)
    endif()
endforeach()

# ---- pondrel-server ----------------------------------------------------------------------------
install(TARGETS pondrel-server RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT server)
install(FILES "${CMAKE_BINARY_DIR}/debian/pondrel-server.service"
              "${CMAKE_BINARY_DIR}/debian/pondrel-server@.service"
        DESTINATION /lib/systemd/system COMPONENT server)
install(FILES "${PONDREL_MAN_DIR}/pondrel-server.1.gz"
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT server)

foreach(component program server)
    set(package pondrel)
    if(component STREQUAL "server")
        set(package pondrel-server)
    endif()
    install(FILES "${PONDREL_PACKAGE_DIR}/debian/copyright" "${CMAKE_BINARY_DIR}/debian/changelog.gz"
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pondrel)
set(CPACK_PACKAGE_VENDOR "The Pondrel developers")
set(CPACK_PACKAGE_VERSION "${PONDREL_VERSION_TEXT}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_COMPONENTS_ALL program server)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Pondrel developers <pondrel@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://pondrel.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)

set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME pondrel)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION science)
# The desktop's platform plugin (xcb, wayland) is not a library the program links.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_COMPONENT_PROGRAM_DESCRIPTION
"bedside patient-record program for doctors
Pondrel keeps the records of the patients a doctor follows: one file per
patient, a problem-oriented journal, treatments and actions, tasks, HTML
summaries, letters from editable RTF templates, an exam table with graphs and
growth curves, and the synchronisation of patient files, mail and chat with a
Pondrel server. The package holds the program, the command-line tool
pondrel-tool and the factory installation folder.")

set(CPACK_DEBIAN_SERVER_PACKAGE_NAME pondrel-server)
set(CPACK_DEBIAN_SERVER_PACKAGE_SECTION net)
set(CPACK_DEBIAN_SERVER_PACKAGE_DEPENDS "adduser")
set(CPACK_DEBIAN_SERVER_PACKAGE_CONTROL_EXTRA
    "${PONDREL_PACKAGE_DIR}/debian/pondrel-server/postinst"
    "${PONDREL_PACKAGE_DIR}/debian/pondrel-server/prerm"
    "${PONDREL_PACKAGE_DIR}/debian/pondrel-server/postrm")
set(CPACK_COMPONENT_SERVER_DESCRIPTION
"synchronisation server of the Pondrel patient-record program
pondrel-server keeps the shared patient files of a ward with their locks,
knows who is online and passes mail and chat between the users of Pondrel,
optionally over TLS. It runs as the systemd service pondrel-server under its
own system user, with its data in /var/lib/pondrel-server.")
include(CPack)
