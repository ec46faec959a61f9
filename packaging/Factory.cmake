# The factory installation folder as the programs use it: the files of resources/ (the labels
# file, the preferences, pictures, templates) and the help, "PondrelHelp.htm", made from the
# user guide docs/user-guide.md by cmark at build time. It is staged in <build>/factory, which
# pondrel-tool init-device copies into a new device folder, the tests read, and the pondrel
# package installs as /usr/share/pondrel/factory.
find_program(PONDREL_CMARK cmark)
if(NOT PONDREL_CMARK)
    message(FATAL_ERROR "cmark not found: it makes the help file (Debian package cmark; "
                        "scripts/install-deps.sh installs it)")
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(PONDREL_FACTORY_DIR "${CMAKE_BINARY_DIR}/factory")
set(PONDREL_HELP_FILE "${PONDREL_FACTORY_DIR}/PondrelHelp.htm")
set(PONDREL_USER_GUIDE "${CMAKE_SOURCE_DIR}/docs/user-guide.md")

add_custom_command(OUTPUT "${PONDREL_HELP_FILE}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${PONDREL_FACTORY_DIR}"
    COMMAND Python3::Interpreter "${CMAKE_SOURCE_DIR}/tools/help/make_help.py"
            "${PONDREL_CMARK}" "${PONDREL_USER_GUIDE}" "${PONDREL_HELP_FILE}"
    DEPENDS "${PONDREL_USER_GUIDE}" "${CMAKE_SOURCE_DIR}/tools/help/make_help.py"
    COMMENT "Making PondrelHelp.htm from docs/user-guide.md"
    VERBATIM)
# The copy runs at every build, so a file added to resources/ is staged without a new
# configuration; the help is made only when the guide changed.
add_custom_target(pondrel_factory ALL
    COMMAND ${CMAKE_COMMAND} -E copy_directory "${CMAKE_SOURCE_DIR}/resources"
            "${PONDREL_FACTORY_DIR}"
    DEPENDS "${PONDREL_HELP_FILE}"
    COMMENT "Staging the factory installation folder"
    VERBATIM)
