target_sources(pointillo_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/AtomicFile.h ${CMAKE_CURRENT_LIST_DIR}/AtomicFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BigEndianReader.h ${CMAKE_CURRENT_LIST_DIR}/BigEndianReader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BigEndianWriter.h
    ${CMAKE_CURRENT_LIST_DIR}/BmpReader.h ${CMAKE_CURRENT_LIST_DIR}/BmpReader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CmapSubtable.h ${CMAKE_CURRENT_LIST_DIR}/CmapSubtable.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ContourTracer.h ${CMAKE_CURRENT_LIST_DIR}/ContourTracer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FontCodes.h ${CMAKE_CURRENT_LIST_DIR}/FontCodes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FontDocument.h ${CMAKE_CURRENT_LIST_DIR}/FontDocument.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GlyphBuilder.h ${CMAKE_CURRENT_LIST_DIR}/GlyphBuilder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/InkMask.h ${CMAKE_CURRENT_LIST_DIR}/InkMask.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RegularFile.h ${CMAKE_CURRENT_LIST_DIR}/RegularFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TrueTypeFormat.h
    ${CMAKE_CURRENT_LIST_DIR}/TrueTypeReader.h ${CMAKE_CURRENT_LIST_DIR}/TrueTypeReader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TrueTypeWriter.h ${CMAKE_CURRENT_LIST_DIR}/TrueTypeWriter.cpp
)
