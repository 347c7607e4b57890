# SPDX-License-Identifier: GPL-3.0-or-later
# mirthkey_add_version_resource(<target> [COMPANY <text>] [DESCRIPTION <text>]
#                               [COPYRIGHT <text>])
#
# Gives the executable <target> its version record, built from PROJECT_VERSION_MAJOR, _MINOR,
# _PATCH and _TWEAK (missing parts count as 0) as both file and product version, with the
# usual StringFileInfo strings (ProductName is PROJECT_NAME) and a VarFileInfo Translation of
# 0x0804 (Chinese, simplified) / 1200 (Unicode).
#
# On Windows it adds a generated .rc file with a VERSIONINFO resource to the target. Elsewhere a
# generated source puts the same VS_VERSIONINFO bytes into the ELF section .mirthkey_version,
# which CFileVersion reads and `objcopy --remove-section .mirthkey_version` removes.
#
# Sets these properties on <target>: MIRTHKEY_VERSION_RC (the .rc file, written on every
# platform) and, outside Windows, MIRTHKEY_VERSION_RECORD (the raw record bytes).
function(mirthkey_add_version_resource target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "COMPANY;DESCRIPTION;COPYRIGHT" "")
    if(arg_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "mirthkey_add_version_resource: unknown arguments ${arg_UNPARSED_ARGUMENTS}")
    endif()
    if(NOT TARGET ${target})
        message(FATAL_ERROR "mirthkey_add_version_resource: no target ${target}")
    endif()
    get_target_property(type ${target} TYPE)
    if(NOT type STREQUAL "EXECUTABLE")
        message(FATAL_ERROR "mirthkey_add_version_resource: ${target} is not an executable")
    endif()

    set(parts)
    foreach(part MAJOR MINOR PATCH TWEAK)
        set(value "${PROJECT_VERSION_${part}}")
        if(value STREQUAL "")
            set(value 0)
        endif()
        if(NOT value MATCHES "^[0-9]+$" OR value GREATER 65535)
            message(FATAL_ERROR "mirthkey_add_version_resource: version part ${part} '${value}' is not 0..65535")
        endif()
        math(EXPR value "${value}") # drops leading zeros
        list(APPEND parts ${value})
    endforeach()
    list(JOIN parts "." version)
    list(JOIN parts "," MIRTHKEY_RC_FILE_VERSION)
    set(MIRTHKEY_RC_PRODUCT_VERSION ${MIRTHKEY_RC_FILE_VERSION})

    set(company "${PROJECT_NAME}")
    set(description "${PROJECT_NAME}")
    set(copyright "${MIRTHKEY_RIGHTS}")
    foreach(option COMPANY DESCRIPTION COPYRIGHT)
        if(DEFINED arg_${option})
            string(TOLOWER ${option} name)
            set(${name} "${arg_${option}}")
        endif()
    endforeach()
    set(text_CompanyName "${company}")
    set(text_FileDescription "${description}")
    set(text_FileVersion "${version}")
    set(text_InternalName "$<TARGET_FILE_BASE_NAME:${target}>")
    set(text_LegalCopyright "${copyright}")
    set(text_OriginalFilename "$<TARGET_FILE_NAME:${target}>")
    set(text_ProductName "${PROJECT_NAME}")
    set(text_ProductVersion "${version}")

    set(MIRTHKEY_RC_LANGUAGE 0x0804)
    set(MIRTHKEY_RC_PRIMARY_LANGUAGE 0x04)
    set(MIRTHKEY_RC_SUB_LANGUAGE 0x02)
    set(MIRTHKEY_RC_CODEPAGE 1200)
    set(MIRTHKEY_RC_TABLE 080404b0)

    # The .rc file and the generator's input list the same strings in the same order, so both
    # routes give byte-identical records.
    set(MIRTHKEY_RC_VALUES "")
    set(generator_input "file-version=${version}\nproduct-version=${version}\n")
    string(APPEND generator_input "language=${MIRTHKEY_RC_LANGUAGE}\ncodepage=${MIRTHKEY_RC_CODEPAGE}\n")
    foreach(key CompanyName FileDescription FileVersion InternalName LegalCopyright
            OriginalFilename ProductName ProductVersion)
        string(REGEX REPLACE "[\r\n]+" " " text "${text_${key}}")
        string(APPEND generator_input "string=${key}=${text}\n")
        string(REPLACE "\\" "\\\\" text "${text}")
        string(REPLACE "\"" "\"\"" text "${text}")
        string(APPEND MIRTHKEY_RC_VALUES "            VALUE \"${key}\", \"${text}\"\n")
    endforeach()

    # Both files go through file(GENERATE): the file names come from generator expressions, and
    # the files are only rewritten when their content changes.
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_version)
    set(template ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/VersionInfo.rc.in)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${template})
    file(READ ${template} rc_template)
    string(CONFIGURE "${rc_template}" rc_text @ONLY)
    file(GENERATE OUTPUT ${dir}/version.rc CONTENT "${rc_text}")
    set_target_properties(${target} PROPERTIES MIRTHKEY_VERSION_RC ${dir}/version.rc)
    if(WIN32)
        target_sources(${target} PRIVATE ${dir}/version.rc)
        return()
    endif()

    file(GENERATE OUTPUT ${dir}/version.txt CONTENT "${generator_input}")
    add_custom_command(
        OUTPUT ${dir}/version.cpp ${dir}/version.bin
        COMMAND mirthkey_versioninfo_gen ${dir}/version.txt ${dir}/version.cpp ${dir}/version.bin
        DEPENDS mirthkey_versioninfo_gen ${dir}/version.txt
        COMMENT "Generating the version record of ${target}"
        VERBATIM)
    target_sources(${target} PRIVATE ${dir}/version.cpp)
    set_target_properties(${target} PROPERTIES MIRTHKEY_VERSION_RECORD ${dir}/version.bin)
endfunction()
