target_sources(pointillo_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/AtomicFile.h ${CMAKE_CURRENT_LIST_DIR}/AtomicFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BigEndianReader.h ${CMAKE_CURRENT_LIST_DIR}/BigEndianReader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BigEndianWriter.h
    ${CMAKE_CURRENT_LIST_DIR}/BitmapStrike.h ${CMAKE_CURRENT_LIST_DIR}/BitmapStrike.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BmpReader.h ${CMAKE_CURRENT_LIST_DIR}/BmpReader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CmapSubtable.h ${CMAKE_CURRENT_LIST_DIR}/CmapSubtable.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ContourTracer.h ${CMAKE_CURRENT_LIST_DIR}/ContourTracer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FontCodes.h ${CMAKE_CURRENT_LIST_DIR}/FontCodes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FontDocument.h ${CMAKE_CURRENT_LIST_DIR}/FontDocument.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FontNaming.h ${CMAKE_CURRENT_LIST_DIR}/FontNaming.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GlyphBuilder.h ${CMAKE_CURRENT_LIST_DIR}/GlyphBuilder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HandOver.h ${CMAKE_CURRENT_LIST_DIR}/HandOver.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LaunchOptions.h ${CMAKE_CURRENT_LIST_DIR}/LaunchOptions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RegularFile.h ${CMAKE_CURRENT_LIST_DIR}/RegularFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TrueTypeFormat.h
    ${CMAKE_CURRENT_LIST_DIR}/TrueTypeReader.h ${CMAKE_CURRENT_LIST_DIR}/TrueTypeReader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TrueTypeWriter.h ${CMAKE_CURRENT_LIST_DIR}/TrueTypeWriter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TableBuild.h ${CMAKE_CURRENT_LIST_DIR}/TableBuild.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Woff2.h ${CMAKE_CURRENT_LIST_DIR}/Woff2.cpp
)
# WOFF2 web fonts: Debian's libwoff2 (libwoff-dev).
find_package(PkgConfig REQUIRED)
pkg_check_modules(WOFF2 REQUIRED IMPORTED_TARGET GLOBAL libwoff2enc libwoff2dec)
target_link_libraries(pointillo_core PRIVATE PkgConfig::WOFF2)
