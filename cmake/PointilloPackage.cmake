# The documents that go with the programs, and the Debian package (CPack's DEB generator) of
# whatever this build tree installs.  `cpack` in any configured tree makes it: scripts/package.sh
# builds a Release tree for it, the package check of the tests packs the test tree.

# Man pages and the changelog compressed as Debian wants them: gzip -9 -n, without the
# name and time of the file, so that two builds give the same bytes.
set(docs_staged ${CMAKE_BINARY_DIR}/doc)
set(docs_gzipped)
foreach(doc doc/pointillo.1 doc/pointillo-fontd.1 doc/changelog README.md)
    get_filename_component(name ${doc} NAME)
    add_custom_command(OUTPUT ${docs_staged}/${name}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/${doc} ${docs_staged}/${name}
        COMMAND gzip -9nf ${docs_staged}/${name}
        DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${doc} VERBATIM)
    list(APPEND docs_gzipped ${docs_staged}/${name}.gz)
endforeach()
add_custom_target(docs ALL DEPENDS ${docs_gzipped})

install(FILES ${docs_staged}/pointillo.1.gz ${docs_staged}/pointillo-fontd.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# Named after the package, not the project, as Debian's documents folders are.
set(POINTILLO_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/pointillo)
install(FILES ${docs_staged}/README.md.gz ${docs_staged}/changelog.gz doc/copyright
        DESTINATION ${POINTILLO_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pointillo)
set(CPACK_PACKAGE_VENDOR marrowby)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "marrowby <pointillo@marrowby.com>")
# The install writes the real prefix into the service file and the menu entry: it must see
# /usr as its prefix and stage through DESTDIR, not install into a prefix under the staging
# folder.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A sanitizer build's package is only checked, not shipped: its ten times larger programs pack
# in a third of the time with gzip.
if(POINTILLO_SANITIZE)
    set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
else()
    set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
endif()
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://www.marrowby.com/")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "bitmap glyph editor that builds TrueType fonts
Pointillo draws bitmap (dot) glyphs one character code at a time on a grid
of up to 32 by 32 dots, traces reference characters from installed fonts,
keeps the single-byte glyphs in one character-table bitmap, and reads and
writes BDF fonts.
.
Its font server, pointillo-fontd, builds exact outlines from the glyphs and
saves TrueType and WOFF2 fonts, Western or Japanese (Shift_JIS). It answers
on the D-Bus session bus, so scripts can drive it too, and builds a font
from a character table on the command line.")
# Libraries from the binaries themselves (dpkg-shlibdeps); beside them what no scan sees:
# the fonts of the window's layout and of its reference glyphs (Arial is Liberation Sans,
# Japanese text IPA Gothic), Qt's SVG plugins for the icon, and a session bus for the
# server's activation.  Qt's own translations only change the language of its dialogs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-liberation2, fonts-ipafont-gothic, libqt6svg6, default-dbus-session-bus | dbus-session-bus")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
