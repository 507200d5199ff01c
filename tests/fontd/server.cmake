# Tests of pointillo-fontd through its D-Bus interface.

# How the tests talk to the server, and the glyph files the editor sends it.
add_library(pointillo_fontd_testclient STATIC
    FontdClient.h FontdClient.cpp
    DotBitmap.h DotBitmap.cpp
)
target_link_libraries(pointillo_fontd_testclient PUBLIC pointillo_testsupport)
target_include_directories(pointillo_fontd_testclient PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

# Through the bus: each test has a private bus, where the first call activates the server
# from the build tree's service file.
pointillo_add_test(tst_fontd_codes SOURCES tst_fontd_codes.cpp
                   LIBS pointillo_fontd_testclient DBUS)
pointillo_add_test(tst_fontd_glyphs SOURCES tst_fontd_glyphs.cpp
                   LIBS pointillo_fontd_testclient DBUS TIMEOUT 300)
# Several clients on one font, through the real server and in-process.
pointillo_add_test(tst_fontd_clients SOURCES tst_fontd_clients.cpp
                   LIBS pointillo_fontd_testclient pointillo_fontd_server DBUS)
target_compile_definitions(tst_fontd_glyphs PRIVATE FONTD_TEST_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
add_dependencies(tst_fontd_codes pointillo-fontd)
add_dependencies(tst_fontd_glyphs pointillo-fontd)
add_dependencies(tst_fontd_clients pointillo-fontd)

# The server's own classes, in-process: the window needs a bus for its document objects.
pointillo_add_test(tst_fontd_window SOURCES tst_fontd_window.cpp
                   LIBS pointillo_fontd_testclient pointillo_fontd_server
                        pointillo_fontcore_testsupport DBUS)
pointillo_add_test(tst_fontd_launch SOURCES tst_fontd_launch.cpp LIBS pointillo_fontd_server)
pointillo_add_test(tst_fontd_gridlayout SOURCES tst_fontd_gridlayout.cpp
                   LIBS pointillo_fontd_server)

# The headless build, run as a program without a display or a bus.
pointillo_add_test(tst_fontd_build SOURCES tst_fontd_build.cpp)
add_dependencies(tst_fontd_build pointillo-fontd)

# Whole-program runs from the shell, each on a bus of its own.
foreach(script fontd_introspect fontd_second_server fontd_bus_gone fontd_signals
               fontd_bad_arguments fontd_stale_display fontd_window_x11)
    pointillo_add_script_test(${script} ${CMAKE_CURRENT_SOURCE_DIR}/${script}.sh)
endforeach()
set_tests_properties(fontd_window_x11 PROPERTIES SKIP_RETURN_CODE 77)
