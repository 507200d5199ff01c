# pointillo-fontd: the D-Bus service, its window and its service file.

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
    LaunchOptions.h LaunchOptions.cpp
    SignalWatcher.h SignalWatcher.cpp
    GlyphGridLayout.h GlyphGridLayout.cpp
    GlyphGridView.h GlyphGridView.cpp
    FontWindow.h FontWindow.cpp
    FontPropertiesDialog.h FontPropertiesDialog.cpp
    TTEdit.Application.xml TTEdit.Document.xml
)
target_include_directories(pointillo_fontd_server PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
target_link_libraries(pointillo_fontd_server PUBLIC pointillo_core Qt6::Widgets Qt6::DBus)

add_executable(pointillo-fontd main.cpp)
target_link_libraries(pointillo-fontd PRIVATE pointillo_fontd_server)
target_compile_definitions(pointillo-fontd PRIVATE POINTILLO_VERSION="${PROJECT_VERSION}")
install(TARGETS pointillo-fontd RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# D-Bus activation.  The build tree's copy starts the built program; tests put
# <build>/share first in XDG_DATA_DIRS so that their private buses find it.
set(BINDIR "$<TARGET_FILE_DIR:pointillo-fontd>")
configure_file(TTEdit.Application.service.in
               ${CMAKE_CURRENT_BINARY_DIR}/TTEdit.Application.service.build @ONLY)
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/share/dbus-1/services/TTEdit.Application.service
     INPUT ${CMAKE_CURRENT_BINARY_DIR}/TTEdit.Application.service.build)
pointillo_install_configured(${CMAKE_CURRENT_SOURCE_DIR}/TTEdit.Application.service.in
                             ${CMAKE_INSTALL_DATADIR}/dbus-1/services TTEdit.Application.service)
