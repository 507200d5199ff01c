#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

class GlyphStore;

// The double-byte pages of a glyph store as files beside the character-table file, one BMP a
// page in the table file's own format (TableFile): page 0x82 of ptl_buf.bmp is ptl_buf.82.bmp.
// The single-byte page is the table file itself and is not handled here.
//
// An object remembers which pages it last read or wrote for which table file, so that a save
// writes only the pages changed since.
class PageFiles
{
    Q_DECLARE_TR_FUNCTIONS(PageFiles)

public:
    PageFiles();

    // The file of page beside tablePath: the lead byte in upper-case hexadecimal, as the editor
    // writes codes, between the table file's name and its suffix ("ptl_buf.82.bmp",
    // "ptl_buf.E0.bmp"; "table" gives "table.82").
    static QString fileName(const QString& tablePath, int page);

    struct Loaded
    {
        QList<int> pages;       // read into the store
        QStringList unreadable; // page files that exist but could not be read, by absolute name
        QStringList reasons;    // why, in the same order
    };
    // Reads the file of every double-byte page that has one beside tablePath into store, as
    // TableFile reads a table: what fits of the picture, clear where it does not reach.  The
    // pages of files that cannot be read are left as they were.
    Loaded load(GlyphStore& store, const QString& tablePath);

    // Makes the page files beside tablePath what store holds: every double-byte page with a
    // pixel other than clear white is written (TableFile::write: one bit a pixel when black
    // and white, through a temporary file renamed over the old one), the file of every other
    // page is removed, and the blank pages are dropped from store (GlyphStore::dropIfBlank).  A
    // page unchanged since this object last read or wrote its file is not written again.  Returns
    // false, with the file and the reason in error, at the first file that cannot be written or
    // removed; the files before it are done.
    bool save(GlyphStore& store, const QString& tablePath, QString* error = nullptr);

private:
    static constexpr quint64 Unknown = ~quint64(0);

    // What is on disk for the table file m_tablePath: the revision of each page that its file
    // holds.
    QString m_tablePath;
    std::array<quint64, 256> m_onDisk{};
};
