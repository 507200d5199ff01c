# pointillo-fontd: the command line's program, the D-Bus server's, its window and its
# service file.

# The server's classes build into a library of their own, so that the tests can drive the
# window and the option parsing in-process.
add_library(pointillo_fontd_server STATIC)
qt_add_dbus_adaptor(fontd_adaptor_sources TTEdit.Application.xml fontd/FontServer.h FontServer
                    ApplicationAdaptor ApplicationAdaptor)
qt_add_dbus_adaptor(fontd_adaptor_sources TTEdit.Document.xml fontd/DocumentObject.h
                    DocumentObject DocumentAdaptor DocumentAdaptor)
target_sources(pointillo_fontd_server PRIVATE
    ${fontd_adaptor_sources}
    FontdError.h
    FontServer.h FontServer.cpp
    DocumentObject.h DocumentObject.cpp
    SignalWatcher.h SignalWatcher.cpp
    GlyphGridLayout.h GlyphGridLayout.cpp
    GlyphGridView.h GlyphGridView.cpp
    FontWindow.h FontWindow.cpp
    FontPropertiesDialog.h FontPropertiesDialog.cpp
    TTEdit.Application.xml TTEdit.Document.xml
)
target_include_directories(pointillo_fontd_server PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
target_link_libraries(pointillo_fontd_server PUBLIC pointillo_core Qt6::Widgets Qt6::DBus)

# Two programs: pointillo-fontd on the PATH builds fonts on the command line with the font core
# alone and hands every other run over to the server's program, of the same name, in
# <libexec>/pointillo, which the session bus starts directly.  Each finds the other from where
# it lies; the build tree has the installed layout.
set(fontd_server_folder ${CMAKE_INSTALL_LIBEXECDIR}/pointillo)
cmake_path(ABSOLUTE_PATH fontd_server_folder BASE_DIRECTORY ${CMAKE_INSTALL_PREFIX})
cmake_path(ABSOLUTE_PATH CMAKE_INSTALL_BINDIR BASE_DIRECTORY ${CMAKE_INSTALL_PREFIX}
           OUTPUT_VARIABLE fontd_command_folder)
file(RELATIVE_PATH fontd_server_from_command ${fontd_command_folder} ${fontd_server_folder})
file(RELATIVE_PATH fontd_command_from_server ${fontd_server_folder} ${fontd_command_folder})

add_executable(pointillo-fontd main.cpp)
target_link_libraries(pointillo-fontd PRIVATE pointillo_core)
target_compile_definitions(pointillo-fontd PRIVATE POINTILLO_VERSION="${PROJECT_VERSION}"
    POINTILLO_SERVER_PROGRAM="${fontd_server_from_command}/pointillo-fontd")
install(TARGETS pointillo-fontd RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

add_executable(pointillo-fontd-server server_main.cpp)
cmake_path(ABSOLUTE_PATH fontd_server_from_command
           BASE_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY} NORMALIZE
           OUTPUT_VARIABLE fontd_server_build_folder)
set_target_properties(pointillo-fontd-server PROPERTIES OUTPUT_NAME pointillo-fontd
                      RUNTIME_OUTPUT_DIRECTORY ${fontd_server_build_folder})
target_link_libraries(pointillo-fontd-server PRIVATE pointillo_fontd_server)
target_compile_definitions(pointillo-fontd-server PRIVATE POINTILLO_VERSION="${PROJECT_VERSION}"
    POINTILLO_COMMAND_PROGRAM="${fontd_command_from_server}/pointillo-fontd")
install(TARGETS pointillo-fontd-server RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/pointillo)
# Whatever runs pointillo-fontd needs both.
add_dependencies(pointillo-fontd pointillo-fontd-server)

# D-Bus activation.  The build tree's copy starts the built program; tests put
# <build>/share first in XDG_DATA_DIRS so that their private buses find it.
set(SERVERDIR "$<TARGET_FILE_DIR:pointillo-fontd-server>")
configure_file(TTEdit.Application.service.in
               ${CMAKE_CURRENT_BINARY_DIR}/TTEdit.Application.service.build @ONLY)
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/share/dbus-1/services/TTEdit.Application.service
     INPUT ${CMAKE_CURRENT_BINARY_DIR}/TTEdit.Application.service.build)
pointillo_install_configured(${CMAKE_CURRENT_SOURCE_DIR}/TTEdit.Application.service.in
                             ${CMAKE_INSTALL_DATADIR}/dbus-1/services TTEdit.Application.service)
