# SPDX-License-Identifier: GPL-3.0-or-later
# Reads the update history, commands/data/history.txt, for everything made from it: the text
# the history button shows (commands/), the Debian changelog and the metainfo's release list
# (packaging/), and the date a build takes for its files when it has no other (cmake/).
# Included from the top, after project(). Sets:
#
#   MIRTHKEY_HISTORY_HEADING           the first line
#   MIRTHKEY_HISTORY_UPDATED           the running version's line, @VERSION@ filled in
#   MIRTHKEY_HISTORY_NOTES             numbers of the notes, 0 1 …; for each <n>:
#     MIRTHKEY_HISTORY_NOTE_<n>_DATE     yyyy-mm-dd
#     MIRTHKEY_HISTORY_NOTE_<n>_TEXT
#   MIRTHKEY_HISTORY_RELEASES          numbers of the releases, oldest first; for each <n>:
#     MIRTHKEY_HISTORY_RELEASE_<n>_DATE, _VERSION, _UPDATED (its line, version filled in)
#   MIRTHKEY_RELEASE_DATE              the release date of PROJECT_VERSION, yyyy-mm-dd
#   MIRTHKEY_RELEASE_EPOCH             that day at 00:00 UTC, in seconds since 1970
#
# and gives mirthkey_history_day(<yyyy-mm-dd> <epoch var> <RFC 2822 var>).

if(NOT MIRTHKEY_HISTORY_FILE) # another history only for the tests (cmake -P)
    set(MIRTHKEY_HISTORY_FILE ${CMAKE_CURRENT_LIST_DIR}/data/history.txt)
endif()
if(NOT CMAKE_SCRIPT_MODE_FILE)
    set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY
        CMAKE_CONFIGURE_DEPENDS ${MIRTHKEY_HISTORY_FILE})
endif()

# Days since 1970-01-01 of a date of the Gregorian calendar (years from 1970 on).
function(mirthkey_history_days out year month day)
    math(EXPR y "${year}")
    math(EXPR m "${month}")
    math(EXPR d "${day}")
    if(m LESS_EQUAL 2)
        math(EXPR y "${y} - 1")
        math(EXPR m "${m} + 9")
    else()
        math(EXPR m "${m} - 3")
    endif()
    math(EXPR era "${y} / 400")
    math(EXPR yoe "${y} - ${era} * 400")
    math(EXPR doy "(153 * ${m} + 2) / 5 + ${d} - 1")
    math(EXPR doe "${yoe} * 365 + ${yoe} / 4 - ${yoe} / 100 + ${doy}")
    math(EXPR days "${era} * 146097 + ${doe} - 719468")
    set(${out} ${days} PARENT_SCOPE)
endfunction()

# The day <date> (yyyy-mm-dd) at 00:00 UTC: seconds since 1970 and as Debian's changelog writes
# it (RFC 2822, "Tue, 08 Dec 2026 00:00:00 +0000"). Stops on a day the calendar does not have.
function(mirthkey_history_day date epoch_out rfc_out)
    if(NOT date MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
        message(FATAL_ERROR "${MIRTHKEY_HISTORY_FILE}: '${date}' is not a date (yyyy-mm-dd)")
    endif()
    set(year ${CMAKE_MATCH_1})
    set(month ${CMAKE_MATCH_2})
    set(day ${CMAKE_MATCH_3})
    math(EXPR next_month "${month} % 12 + 1")
    math(EXPR next_year "${year} + ${month} / 12")
    mirthkey_history_days(first ${year} ${month} 1)
    mirthkey_history_days(next ${next_year} ${next_month} 1)
    math(EXPR length "${next} - ${first}")
    if(year LESS 1970 OR month LESS 1 OR month GREATER 12 OR day LESS 1 OR day GREATER length)
        message(FATAL_ERROR "${MIRTHKEY_HISTORY_FILE}: there is no day ${date}")
    endif()
    mirthkey_history_days(days ${year} ${month} ${day})
    math(EXPR epoch "${days} * 86400")
    math(EXPR weekday "(${days} + 4) % 7") # 1970-01-01 was a Thursday
    set(weekdays Sun Mon Tue Wed Thu Fri Sat)
    list(GET weekdays ${weekday} weekday_name)
    math(EXPR month_index "${month} - 1")
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(GET months ${month_index} month_name)
    set(${epoch_out} ${epoch} PARENT_SCOPE)
    set(${rfc_out} "${weekday_name}, ${day} ${month_name} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

file(STRINGS ${MIRTHKEY_HISTORY_FILE} history_lines ENCODING UTF-8)
set(MIRTHKEY_HISTORY_HEADING "")
set(history_updated "")
set(MIRTHKEY_HISTORY_NOTES "")
set(MIRTHKEY_HISTORY_RELEASES "")
set(note_count 0)
set(release_count 0)
set(last_date "")
foreach(line IN LISTS history_lines)
    if(line MATCHES "^[ \t]*(#|$)")
        continue()
    elseif(line MATCHES "^heading (.+)$")
        set(MIRTHKEY_HISTORY_HEADING "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^updated (.*@VERSION@.*)$")
        set(history_updated "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^(note|release) ([^ ]+) (.+)$")
        set(kind ${CMAKE_MATCH_1})
        set(date ${CMAKE_MATCH_2})
        set(rest "${CMAKE_MATCH_3}")
        mirthkey_history_day(${date} epoch rfc)
        if(last_date AND date STRLESS last_date)
            message(FATAL_ERROR "${MIRTHKEY_HISTORY_FILE}: ${date} comes before ${last_date}; "
                "the entries go oldest first")
        endif()
        set(last_date ${date})
        if(kind STREQUAL "note")
            set(MIRTHKEY_HISTORY_NOTE_${note_count}_DATE ${date})
            set(MIRTHKEY_HISTORY_NOTE_${note_count}_TEXT "${rest}")
            list(APPEND MIRTHKEY_HISTORY_NOTES ${note_count})
            math(EXPR note_count "${note_count} + 1")
        else()
            if(NOT rest MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$")
                message(FATAL_ERROR "${MIRTHKEY_HISTORY_FILE}: release '${rest}' is not a version "
                    "of four numbers")
            endif()
            set(MIRTHKEY_HISTORY_RELEASE_${release_count}_DATE ${date})
            set(MIRTHKEY_HISTORY_RELEASE_${release_count}_VERSION ${rest})
            list(APPEND MIRTHKEY_HISTORY_RELEASES ${release_count})
            math(EXPR release_count "${release_count} + 1")
        endif()
    else()
        message(FATAL_ERROR "${MIRTHKEY_HISTORY_FILE}: cannot read the line '${line}'")
    endif()
endforeach()
if(NOT MIRTHKEY_HISTORY_HEADING OR NOT history_updated OR release_count EQUAL 0)
    message(FATAL_ERROR "${MIRTHKEY_HISTORY_FILE}: a heading, an updated line with @VERSION@ "
        "and a release line are needed")
endif()

# The version as the history names it: major.minor and the fourth part (1.2.0.65 is 1.2.65).
foreach(n IN LISTS MIRTHKEY_HISTORY_RELEASES)
    string(REPLACE "." ";" parts "${MIRTHKEY_HISTORY_RELEASE_${n}_VERSION}")
    list(GET parts 0 major)
    list(GET parts 1 minor)
    list(GET parts 3 fourth)
    string(REPLACE "@VERSION@" "${major}.${minor}.${fourth}" MIRTHKEY_HISTORY_RELEASE_${n}_UPDATED
        "${history_updated}")
endforeach()

# The newest release is the version being built: one edit of each file makes a release.
list(GET MIRTHKEY_HISTORY_RELEASES -1 newest)
if(NOT MIRTHKEY_HISTORY_RELEASE_${newest}_VERSION STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "The project() line says version ${PROJECT_VERSION}, the newest release in "
        "${MIRTHKEY_HISTORY_FILE} is ${MIRTHKEY_HISTORY_RELEASE_${newest}_VERSION}: add a line "
        "'release <yyyy-mm-dd> ${PROJECT_VERSION}' there")
endif()
set(MIRTHKEY_HISTORY_UPDATED "${MIRTHKEY_HISTORY_RELEASE_${newest}_UPDATED}")
set(MIRTHKEY_RELEASE_DATE ${MIRTHKEY_HISTORY_RELEASE_${newest}_DATE})
mirthkey_history_day(${MIRTHKEY_RELEASE_DATE} MIRTHKEY_RELEASE_EPOCH release_rfc)
