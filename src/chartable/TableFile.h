#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QString>
#include <optional>

// The character-table file: a BMP picture of the table, top-left pixel first, black pixels for
// set dots.  The core of the table's saving and loading; the window shows what goes wrong.
class TableFile
{
    Q_DECLARE_TR_FUNCTIONS(TableFile)

public:
    // Widest and highest picture read.  A table is 512 x 512; a larger picture is read so that
    // its top-left part can be used, but no further, so that a lying header cannot make the
    // reader allocate much.
    static constexpr int MaxSide = 2048;

    // Reads the picture of a table file, whatever its size and colours, as a Format_RGB32
    // image.  Returns nothing, with the reason in error, when the file cannot be opened, is not
    // an uncompressed BMP (1 to 32 bits per pixel), has sides beyond MaxSide, or is shorter
    // than its header says: a cut-off file is refused rather than read with made-up rows.
    static std::optional<QImage> read(const QString& path, QString* error = nullptr);
    // The same picture in the format Qt reads it in (a one-bit table stays one bit per pixel,
    // a 32nd of the memory), for readers that only look at its pixels' colours.
    static std::optional<QImage> readAsStored(const QString& path, QString* error = nullptr);

    // Writes table to path as an uncompressed BMP that keeps every colour exactly: one bit per
    // pixel when the table is all black and white, else 24 bits.
    // The picture goes to a temporary file beside path that is renamed over it, so a failure
    // leaves a former file untouched.  Returns false, with the reason in error, on failure.
    static bool write(const QImage& table, const QString& path, QString* error = nullptr);

    // A file as the system knows it, whatever name reaches it (a link, another spelling of its
    // path): its device and inode.
    struct Identity
    {
        quint64 device = 0;
        quint64 inode = 0;
        bool operator==(const Identity&) const = default;
    };
    // The identity of the file path names, links followed; nothing when there is none.
    static std::optional<Identity> identity(const QString& path);

    // A name beside path that no file has yet, to keep a table file aside under:
    // "ptl_buf.unread.bmp", else "ptl_buf.unread-2.bmp" and on.
    static QString asideName(const QString& path);
};
