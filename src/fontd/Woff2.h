#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QCoreApplication>
#include <QString>

// WOFF2 web fonts through Debian's libwoff2: a TrueType font compressed for the web, and back.
class Woff2
{
    Q_DECLARE_TR_FUNCTIONS(Woff2)

public:
    // True when data begins like a WOFF2 file.
    static bool isWoff2(QByteArrayView data);
    // True when a font saved under path is written as WOFF2: its name ends in .woff2 (in any
    // case).
    static bool isWoff2Name(const QString& path);

    // The WOFF2 file of a TrueType font, or an empty array with a reason.
    static QByteArray compress(QByteArrayView trueType, QString* error = nullptr);
    // The TrueType font in a WOFF2 file, at most maxSize bytes, or an empty array with a
    // reason.  A file whose table directory declares more than maxSize bytes of tables,
    // packed or unpacked, is refused before anything is unpacked.
    static QByteArray decompress(QByteArrayView woff2, qint64 maxSize, QString* error = nullptr);
};
