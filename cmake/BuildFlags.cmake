# SPDX-License-Identifier: GPL-3.0-or-later
# How the program is compiled and linked for release: hardened as a distribution builds it,
# and without anything of the machine, the folder or the hour of the build in the result, so
# that the same commit built anywhere gives the same bytes.
#
# On Linux the hardening flags are the ones Debian gives a package that asks for all of them
# (dpkg-buildflags with DEB_BUILD_MAINT_OPTIONS=hardening=+all: stack protector, fortified
# string functions, format checks, read-only relocations bound at start), where dpkg-buildflags
# exists, a copy of them elsewhere, plus the stack-clash and control-flow protection that newer
# Debian releases add. The program is also the clipboard keeper that serves any X client and
# may be run by root to save over system files.
# On Windows (MinGW, static): stack protector and fortified functions from libssp, ASLR with
# high entropy and NX, and no link time in the PE header.
#
# MIRTHKEY_HARDENING=OFF leaves all of it out; the sanitizer round does, as the sanitizers
# replace the same functions and checks.

set(hardening_default ON)
if(CMAKE_CXX_FLAGS MATCHES "-fsanitize=" OR NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    set(hardening_default OFF)
endif()
option(MIRTHKEY_HARDENING "Hardened, reproducible release flags" ${hardening_default})
if(NOT MIRTHKEY_HARDENING)
    return()
endif()

# _FORTIFY_SOURCE works on optimized code only (glibc warns without optimization).
set(optimized "$<NOT:$<CONFIG:Debug>>")

# Build paths: the source folder is "." and the build folder "build" in file names the
# compiler writes (debug information, __FILE__), whatever folders the build ran in. The later
# option wins where both match, as when the build folder is inside the source folder.
set(path_maps -ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)

if(MINGW)
    # The stack protector on the link line makes GCC link libssp, which also holds the checked
    # functions that MinGW's headers call with _FORTIFY_SOURCE; -static (top level) takes its
    # archive. ASLR, high-entropy ASLR and NX are binutils' defaults for PE, asked for anyway.
    add_compile_options(${path_maps} -fstack-protector-strong -Wformat -Werror=format-security
        "$<${optimized}:-D_FORTIFY_SOURCE=2>")
    add_link_options(-fstack-protector-strong
        -Wl,--dynamicbase -Wl,--high-entropy-va -Wl,--nxcompat -Wl,--no-insert-timestamp)
    return()
endif()

find_program(MIRTHKEY_DPKG_BUILDFLAGS dpkg-buildflags)
mark_as_advanced(MIRTHKEY_DPKG_BUILDFLAGS)
if(MIRTHKEY_DPKG_BUILDFLAGS)
    foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                    ${MIRTHKEY_DPKG_BUILDFLAGS} --get ${kind}
            OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
        separate_arguments(flags UNIX_COMMAND "${flags}")
        # The build type chooses optimization and debug information; the build paths are
        # mapped above, for both folders.
        list(FILTER flags EXCLUDE REGEX "^-(O.*|g.*|f(file|debug|macro)-prefix-map=.*)$")
        set(dpkg_${kind} ${flags})
    endforeach()
else()
    set(dpkg_CPPFLAGS -Wdate-time -D_FORTIFY_SOURCE=2)
    set(dpkg_CXXFLAGS -fstack-protector-strong -Wformat -Werror=format-security)
    set(dpkg_LDFLAGS -Wl,-z,relro -Wl,-z,now)
endif()
# Level 3 also checks the buffers whose size is known only at run time (GCC 12 on, with glibc
# 2.34 on; an older glibc takes it as 2). At level 2 the compiler finds no call in this program
# that it could check: each is either proven safe or into a buffer of unknown size.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12)
    list(TRANSFORM dpkg_CPPFLAGS REPLACE "^-D_FORTIFY_SOURCE=2$" "-D_FORTIFY_SOURCE=3")
endif()
list(TRANSFORM dpkg_CPPFLAGS REPLACE "^(-D_FORTIFY_SOURCE=.*)$" "$<${optimized}:\\1>")
# Position-independent executables (ASLR for the program's own code) are GCC's default on
# Debian; dpkg-buildflags counts them as built in, and the package test checks them.
add_compile_options(${path_maps} ${dpkg_CPPFLAGS} ${dpkg_CXXFLAGS}
    -fstack-clash-protection -fcf-protection)
add_link_options(${dpkg_LDFLAGS})
