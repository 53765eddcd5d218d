# Proves that the core libraries know nothing of Qt: no Qt symbol is referenced by any object of
# their static libraries, and no core test program loads a Qt library; programs that draw with
# Qt Gui (text pages) load no Qt Widgets.
# Usage: cmake -DLIBRARIES="a.a;b.a" -DPROGRAMS="x;y" -DWIDGET_FREE_PROGRAMS="z"
#              -P check_core_without_qt.cmake
foreach(lib IN LISTS LIBRARIES)
    execute_process(COMMAND nm -C --undefined-only ${lib} OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "nm failed on ${lib}")
    endif()
    string(REGEX MATCH "(QObject|QString|QWidget|QImage|QMetaObject|qt_[a-z])[^\n]*" hit "${symbols}")
    if(hit)
        message(FATAL_ERROR "${lib} refers to Qt: ${hit}")
    endif()
    message(STATUS "${lib}: no Qt")
endforeach()
# check_loads(PROGRAMS PATTERN WHAT): no program's libraries match PATTERN.
function(check_loads programs pattern what)
    foreach(program IN LISTS programs)
        execute_process(COMMAND ldd ${program} OUTPUT_VARIABLE libs RESULT_VARIABLE rc)
        if(NOT rc EQUAL 0)
            message(FATAL_ERROR "ldd failed on ${program}")
        endif()
        if(libs MATCHES "${pattern}")
            message(FATAL_ERROR "${program} loads ${what}")
        endif()
        message(STATUS "${program}: no ${what}")
    endforeach()
endfunction()

check_loads("${PROGRAMS}" "libQt" "Qt")
check_loads("${WIDGET_FREE_PROGRAMS}" "libQt6Widgets" "Qt Widgets")
