# vortana_test(NAME SOURCES ... LIBS ... [LABELS ...] [QT])
# One GoogleTest program; every case becomes a CTest test. QT gives it a QApplication
# on the offscreen platform instead of GoogleTest's plain main.
function(vortana_test name)
    cmake_parse_arguments(T "QT" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    if(T_QT)
        target_link_libraries(${name} PRIVATE ${T_LIBS} vortana_qt_test_main)
    else()
        target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
    endif()
    set(properties ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
    if(T_LABELS)
        list(APPEND properties LABELS "${T_LABELS}")
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES ${properties})
endfunction()
