# Runs "<command> --version" for each command given and checks that every one prints its name and
# the build's version: -DVERSION=x.y.z -DCOMMANDS=path1;path2;...
foreach(command IN LISTS COMMANDS)
    get_filename_component(name "${command}" NAME)
    execute_process(COMMAND "${command}" --version OUTPUT_VARIABLE out RESULT_VARIABLE status)
    if(NOT status EQUAL 0 OR NOT out STREQUAL "${name} ${VERSION}\n")
        message(FATAL_ERROR "${name} --version: status ${status}, printed '${out}'")
    endif()
endforeach()
