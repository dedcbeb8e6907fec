# Compiler settings shared by every target, and the helper that adds a test.

if(VEMRA_BUILD_FUZZERS)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "VEMRA_BUILD_FUZZERS needs clang (libFuzzer)")
    endif()
    # Coverage for libFuzzer everywhere; the fuzz targets link its driver.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer -g)
    add_link_options(-fsanitize=address,undefined)
elseif(VEMRA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

function(vemra_target_defaults target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(VEMRA_WARNINGS_AS_ERRORS)
        target_compile_options(${target} PRIVATE -Werror)
        if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
            # GCC 12 at -O3 warns of overlapping copies inside std::string's own
            # operator+ (GCC bug 105329): still shown, but not an error.
            target_compile_options(${target} PRIVATE -Wno-error=restrict)
        endif()
    endif()
    if(WIN32)
        # Programs that need no MinGW runtime DLLs beside them.
        target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
        target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX)
    endif()
endfunction()

# GoogleTest: Debian's build natively, the sources with the MinGW toolchain.
macro(vemra_find_gtest)
    if(NOT TARGET GTest::gtest_main)
        if(CMAKE_CROSSCOMPILING)
            set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
            set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
            add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
            # Recent GoogleTest releases define these aliases themselves.
            if(NOT TARGET GTest::gtest)
                add_library(GTest::gtest ALIAS gtest)
                add_library(GTest::gtest_main ALIAS gtest_main)
            endif()
        else()
            find_package(GTest REQUIRED)
        endif()
        include(GoogleTest)
    endif()
endmacro()

# add_vemra_test(name SOURCES a.cpp b.cpp [LIBS ...]): one test program whose
# cases CTest discovers.
function(add_vemra_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE vemra_core GTest::gtest_main ${ARG_LIBS})
    vemra_target_defaults(${name})
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120
        PROPERTIES ENVIRONMENT "VEMRA_TEST_DATA=${PROJECT_SOURCE_DIR}/data")
endfunction()
