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

# Fuzz targets of the BMP and TrueType readers.
pointillo_add_fuzz_test(bmpreader ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/seeds/bmp)
pointillo_add_fuzz_test(truetypereader ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/seeds/ttf)
