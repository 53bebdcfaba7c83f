# tavo_add_test(NAME name SOURCES a.cpp b.cpp LIBS lib... [LABELS label])
# One GoogleTest executable; its cases become CTest tests, run headless (see
# tests/support/test_environment.cpp). Discovered tests carry one label, "unit" unless given:
# gtest_discover_tests flattens list-valued properties, so a second label would be lost.
include(GoogleTest)
function(tavo_add_test)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/test_environment.cpp)
    target_compile_definitions(${T_NAME} PRIVATE TAVO_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
    set(label unit)
    if(T_LABELS)
        list(LENGTH T_LABELS n)
        if(n GREATER 1)
            message(FATAL_ERROR "tavo_add_test(${T_NAME}): one label only")
        endif()
        set(label ${T_LABELS})
    endif()
    set_property(GLOBAL APPEND PROPERTY TAVO_TEST_PROGRAMS "${label} ${T_NAME} $<TARGET_FILE:${T_NAME}>")
    gtest_discover_tests(${T_NAME}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES
            LABELS ${label}
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
