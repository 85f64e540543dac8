# vortana_test(NAME SOURCES ... LIBS ... [LABELS ...] [PROPERTIES ...] [QT])
# One GoogleTest program; every case becomes a CTest test, with the test PROPERTIES given (a
# fixture it needs, say). QT gives it a QApplication on the offscreen platform instead of
# GoogleTest's plain main.
#
# Built for Windows, Qt is static: the offscreen platform is linked into the program (label
# window). There it knows the fonts of one folder alone, QT_QPA_FONTDIR: under Wine (the
# cross-build) a folder of links to the build machine's Song stand-in and fixed-pitch face, named
# as Wine sees it. Wine passes none of the host's QT_ variables to its programs; WINEQT_X reaches
# them as QT_X.
if(WIN32 AND CMAKE_CROSSCOMPILING)
    set(test_fonts ${CMAKE_BINARY_DIR}/test-fonts)
    file(MAKE_DIRECTORY ${test_fonts})
    foreach(face /usr/share/fonts/truetype/arphic/uming.ttc
            /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc)
        get_filename_component(face_name ${face} NAME)
        file(CREATE_LINK ${face} ${test_fonts}/${face_name} SYMBOLIC)
    endforeach()
    set(VORTANA_TEST_FONTS "Z:${test_fonts}")
endif()

function(vortana_test name)
    cmake_parse_arguments(T "QT" "" "SOURCES;LIBS;LABELS;PROPERTIES" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    set(properties ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300 ${T_PROPERTIES})
    if(T_QT)
        target_link_libraries(${name} PRIVATE ${T_LIBS} vortana_qt_test_main)
        if(WIN32)
            qt_import_plugins(${name} INCLUDE Qt6::QOffscreenIntegrationPlugin)
            list(APPEND T_LABELS window)
        endif()
        if(VORTANA_TEST_FONTS)
            list(APPEND properties
                ENVIRONMENT_MODIFICATION "WINEQT_QPA_FONTDIR=set:${VORTANA_TEST_FONTS}")
        endif()
    else()
        target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
    endif()
    if(T_LABELS)
        list(APPEND properties LABELS "${T_LABELS}")
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES ${properties})
endfunction()
