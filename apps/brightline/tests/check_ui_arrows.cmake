# Proves the one arrow a ui/ folder follows: a core folder includes no ui/ header; a ui/ folder
# includes ui/ headers of its own room and of common/ui only, except shell/ui, which composes
# the main window from the others; common/ui includes nothing but common/. Tests included.
# Usage: cmake -DSOURCE_DIR=... -P check_ui_arrows.cmake
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
    ${SOURCE_DIR}/common/*.h ${SOURCE_DIR}/common/*.cpp ${SOURCE_DIR}/media/*.h
    ${SOURCE_DIR}/media/*.cpp ${SOURCE_DIR}/engine/*.h ${SOURCE_DIR}/engine/*.cpp
    ${SOURCE_DIR}/editor/*.h ${SOURCE_DIR}/editor/*.cpp ${SOURCE_DIR}/comm/*.h
    ${SOURCE_DIR}/comm/*.cpp ${SOURCE_DIR}/shell/*.h ${SOURCE_DIR}/shell/*.cpp
    ${SOURCE_DIR}/signsim/*.h ${SOURCE_DIR}/signsim/*.cpp ${SOURCE_DIR}/pageeditor/*.h
    ${SOURCE_DIR}/pageeditor/*.cpp)
set(failures "")
foreach(source IN LISTS sources)
    string(REGEX MATCH "^[a-z]+" room "${source}")
    file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^#include \"[a-z]+/")
    foreach(line IN LISTS includes)
        string(REGEX MATCH "\"([a-z]+)/(ui/)?" target "${line}")
        set(to "${CMAKE_MATCH_1}")
        set(toUi "${CMAKE_MATCH_2}")
        if(source MATCHES "^common/ui/")
            if(NOT to STREQUAL "common")
                list(APPEND failures "${source}: ${line}")
            endif()
        elseif(source MATCHES "^[a-z]+/ui/")
            if(toUi AND NOT room STREQUAL "shell" AND NOT to STREQUAL room AND
               NOT to STREQUAL "common")
                list(APPEND failures "${source}: ${line}")
            endif()
        elseif(toUi)
            list(APPEND failures "${source}: ${line}")
        endif()
    endforeach()
endforeach()
if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "includes against the ui/ arrow:\n  ${text}")
endif()
list(LENGTH sources count)
message(STATUS "${count} files follow the ui/ arrow")
