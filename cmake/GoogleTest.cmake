# GoogleTest from Debian's source package, built with the project's own compiler (native or MinGW).
if(CANOPIA_TESTS AND NOT TARGET gtest_main)
    set(_gtest_src /usr/src/googletest)
    if(NOT EXISTS ${_gtest_src}/CMakeLists.txt)
        message(FATAL_ERROR "GoogleTest sources not found in ${_gtest_src}; run scripts/setup")
    endif()
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    # GoogleTest's own sources are not ours to hold to our warning flags or code page.
    add_subdirectory(${_gtest_src} ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL SYSTEM)
    foreach(t gtest gtest_main)
        set_target_properties(${t} PROPERTIES COMPILE_OPTIONS "-w")
    endforeach()
endif()

# canopia_add_test(NAME name SOURCES ... LIBS ...): one test executable, one CTest test.
# Windows tests run through the Wine wrapper and need the Wine fixture.
function(canopia_add_test)
    cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;ARGS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main)
    # The same test may exist in the native and the Windows build; one CTest run holds both, so the
    # Windows one is named <name>.wine.
    set(test_name ${T_NAME})
    if(CANOPIA_WIN32)
        set(test_name ${T_NAME}.wine)
    endif()
    add_test(NAME ${test_name} COMMAND ${T_NAME} ${T_ARGS})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${test_name} PROPERTIES TIMEOUT ${T_TIMEOUT})
    if(CANOPIA_WIN32)
        set_tests_properties(${test_name} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine_desktop)
    endif()
endfunction()
