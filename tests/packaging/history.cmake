# SPDX-License-Identifier: GPL-3.0-or-later
# Reads a history as the build does and prints what the build takes from it:
#   cmake -DPROJECT_VERSION=<v> -DMIRTHKEY_HISTORY_FILE=<file> -DDAYS=<d;...> -P history.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../../commands/History.cmake)
message(STATUS "release date=${MIRTHKEY_RELEASE_DATE}")
message(STATUS "release epoch=${MIRTHKEY_RELEASE_EPOCH}")
message(STATUS "updated=${MIRTHKEY_HISTORY_UPDATED}")
foreach(day IN LISTS DAYS)
    mirthkey_history_day(${day} epoch rfc)
    message(STATUS "${day}=${epoch}|${rfc}")
endforeach()
