# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack once it has made the zip (CPACK_POST_BUILD_SCRIPTS): packs the same files again,
# in the order of their names and all with the package's time (packaging/PackageTime.cmake.in),
# so that the zip does not depend on the hour of the build, on the order in which the file
# system lists a folder, or on the build machine's time zone (a zip keeps local times: UTC
# here).
foreach(zip IN LISTS CPACK_PACKAGE_FILES)
    get_filename_component(name ${zip} NAME)
    string(REGEX REPLACE "\\.zip$" "" name "${name}")
    set(staged ${CPACK_TOPLEVEL_DIRECTORY}/${name})
    if(NOT IS_DIRECTORY ${staged})
        message(FATAL_ERROR "ZipEntries.cmake: no staged files in ${staged}")
    endif()
    file(GLOB_RECURSE entries RELATIVE ${CPACK_TOPLEVEL_DIRECTORY} ${staged}/*)
    list(SORT entries)
    foreach(entry IN LISTS entries)
        execute_process(COMMAND touch -d "@$ENV{SOURCE_DATE_EPOCH}"
            "${CPACK_TOPLEVEL_DIRECTORY}/${entry}" COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
    file(REMOVE ${zip})
    execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC0
                            ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip -- ${entries}
        WORKING_DIRECTORY ${CPACK_TOPLEVEL_DIRECTORY} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
