# Tests of the font model, tracer, reader and writer.

# Test helpers of the font core: BMP files in every layout, the editor's export canvas, fonts
# made to cost a reader as much as they can.
add_library(pointillo_fontcore_testsupport STATIC TestBmp.h TestBmp.cpp
            HostileFont.h HostileFont.cpp)
target_link_libraries(pointillo_fontcore_testsupport PUBLIC pointillo_testsupport)
target_include_directories(pointillo_fontcore_testsupport PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

pointillo_add_test(tst_contourtracer SOURCES tst_contourtracer.cpp
                   LIBS pointillo_fontcore_testsupport)
pointillo_add_test(tst_bmpreader SOURCES tst_bmpreader.cpp LIBS pointillo_fontcore_testsupport)
pointillo_add_test(tst_fontdocument SOURCES tst_fontdocument.cpp LIBS pointillo_fontcore_testsupport)
pointillo_add_test(tst_truetypewriter SOURCES tst_truetypewriter.cpp
                   LIBS pointillo_fontcore_testsupport TIMEOUT 600)
target_compile_definitions(tst_truetypewriter PRIVATE FONTD_TEST_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
pointillo_add_test(tst_truetypereader SOURCES tst_truetypereader.cpp
                   LIBS pointillo_fontcore_testsupport)
target_compile_definitions(tst_truetypereader PRIVATE FONTD_TEST_DIR="${CMAKE_CURRENT_SOURCE_DIR}")

# Fuzz targets of the BMP and TrueType readers.  Every build runs their entry points over the
# seed corpus under fuzz/seeds; with POINTILLO_FUZZ (clang only) they also build as libFuzzer
# programs, and the tests run each one briefly from the seeds.
option(POINTILLO_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
set(POINTILLO_FUZZ_SECONDS 20 CACHE STRING "How long each fuzz test runs")
if(POINTILLO_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "POINTILLO_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
    endif()
    # Coverage for the fuzzer in the code under test.
    target_compile_options(pointillo_core PRIVATE -fsanitize=fuzzer-no-link)
endif()
foreach(target bmpreader truetypereader)
    if(target STREQUAL "bmpreader")
        set(seeds ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/seeds/bmp)
    else()
        set(seeds ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/seeds/ttf)
    endif()
    pointillo_add_test(tst_fuzzseeds_${target}
                       SOURCES fuzz/tst_fuzzseeds.cpp fuzz/fuzz_${target}.cpp)
    target_compile_definitions(tst_fuzzseeds_${target} PRIVATE SEED_DIR="${seeds}")
    if(POINTILLO_FUZZ)
        add_executable(fuzz_${target} fuzz/fuzz_${target}.cpp)
        target_link_libraries(fuzz_${target} PRIVATE pointillo_core)
        target_compile_options(fuzz_${target} PRIVATE -fsanitize=fuzzer)
        target_link_options(fuzz_${target} PRIVATE -fsanitize=fuzzer)
        # New inputs go to a corpus in the build tree; the seeds stay as they are.
        set(corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/${target})
        file(MAKE_DIRECTORY ${corpus})
        add_test(NAME fuzz_${target}
                 COMMAND fuzz_${target} -max_total_time=${POINTILLO_FUZZ_SECONDS} -max_len=65536
                         -rss_limit_mb=4096 ${corpus} ${seeds})
        set_tests_properties(fuzz_${target} PROPERTIES
            ENVIRONMENT "${POINTILLO_TEST_ENV}"
            TIMEOUT 600)
    endif()
endforeach()
