# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack on the files of the zip before it packs them (CPACK_PRE_BUILD_SCRIPTS): each
# gets the package's time (packaging/PackageTime.cmake.in), so that the zip does not carry the
# hour of the build.
file(GLOB_RECURSE entries LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
list(SORT entries)
foreach(entry IN LISTS entries)
    execute_process(COMMAND touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" "${entry}"
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()
