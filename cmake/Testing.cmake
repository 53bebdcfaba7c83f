# tavo_add_test(NAME name SOURCES a.cpp b.cpp LIBS lib... [LABELS l...])
# One GoogleTest executable; its cases become CTest tests, run headless.
include(GoogleTest)
function(tavo_add_test)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
    set(labels unit ${T_LABELS})
    gtest_discover_tests(${T_NAME}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES
            LABELS "${labels}"
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp;TAVO_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
