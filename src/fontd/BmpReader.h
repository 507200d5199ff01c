#pragma once

#include "dots/InkMask.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QString>
#include <optional>

// Reads a Windows BMP file into an ink mask.
//
// Understood: the core (12-byte) and the info headers (40, 52, 56, 108, 124 bytes); 1, 4 and
// 8 bits per pixel with a palette, 16, 24 and 32 bits without (uncompressed, or bit fields at
// 16 and 32); rows bottom-up (positive height) or top-down (negative height).  Refused with a
// reason: run-length and other compressions, absurd or lying sizes, truncated files.
//
// Ink is the dark colour: of a two-colour palette the darker entry, whatever its place; of
// other images every pixel darker than mid-grey (luma below 128).  Sizes come from the header
// only: bytes after the pixel data are ignored, since a file rewritten in place without
// being shortened keeps a stale tail.
class BmpReader
{
    Q_DECLARE_TR_FUNCTIONS(BmpReader)

public:
    // Largest width and height accepted, and largest block of pixel data.
    static constexpr int MaxDimension = 16384;
    static constexpr qint64 MaxPixelBytes = qint64(256) << 20;

    // Reads a whole file.  Returns nothing, with the reason in error, when it cannot be read.
    static std::optional<InkMask> readFile(const QString& path, QString* error = nullptr);
    // Reads a BMP held in memory; data may be longer than the image it holds.
    static std::optional<InkMask> read(QByteArrayView data, QString* error = nullptr);
};
