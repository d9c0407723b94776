cmake_minimum_required(VERSION 3.25)

# Fails when a source file under src/ includes a header of a library it may not
# depend on. Run as: cmake -DSOURCE_DIR=<src> -P check_include_direction.cmake
#
# Each library may include its own headers and those of the libraries listed
# for it; dependencies point one way, from the main window down to core.
set(allowed_core       core)
set(allowed_formats    core formats)
set(allowed_viewing    core formats viewing)
# The browser engine's module implements an interface of viewing's and links
# nothing of the program.
set(allowed_browser    viewing browser)
# So does the media engine's.
set(allowed_player     viewing player)
set(allowed_filter     core formats filter)
set(allowed_textops    core formats viewing textops)
set(allowed_findfile   core formats viewing findfile)
set(allowed_info       core formats viewing info)
set(allowed_shell      core formats viewing filter textops findfile info shell)
set(allowed_app        core formats viewing filter textops findfile info shell app)

get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)
set(libraries core formats viewing browser player filter textops findfile info shell app)
set(violations "")
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.cpp" "${SOURCE_DIR}/*.h")
foreach(source IN LISTS sources)
    string(REGEX MATCH "^[^/]+" library "${source}")
    if(NOT DEFINED allowed_${library})
        list(APPEND violations "${source}: library '${library}' has no rule in this check")
        continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([^\"]+)\".*" "\\1" header "${line}")
        string(REGEX MATCH "^[^/]+" target "${header}")
        # A bare name or a path into the library's own folders is its own.
        if(NOT header MATCHES "/" OR NOT target IN_LIST libraries)
            continue()
        endif()
        if(NOT target IN_LIST allowed_${library})
            list(APPEND violations "${source}: includes \"${header}\" (${library} may not use ${target})")
        endif()
    endforeach()
endforeach()

if(violations)
    list(JOIN violations "\n  " text)
    message(FATAL_ERROR "Includes pointing the wrong way:\n  ${text}")
endif()
list(LENGTH sources count)
message(STATUS "${count} files checked; every include points the right way")
