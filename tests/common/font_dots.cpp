// The dots FreeType sees in one glyph of a font, for the shell-level tests:
//   font_dots FONT CODE ORIGINX ORIGINY PITCHX PITCHY DOTSX DOTSY
// prints DOTSY rows of DOTSX characters, '#' for a dot the glyph covers and '.' for one it
// does not (FontCheck::rasterDots: the centre of dot (0, 0) and the pitch in canvas pixels;
// CODE may be hexadecimal, 0x21).  Status 1 with the reason on stderr when the glyph cannot
// be read, 2 on a usage error.

#include "common/FontCheck.h"

#include <QByteArray>
#include <cstdio>

int main(int argc, char** argv)
{
    bool ok = argc == 9;
    const auto integer = [&](int i) {
        bool parsed = false;
        const int value = ok ? QByteArray(argv[i]).toInt(&parsed, 0) : 0;
        ok = ok && parsed;
        return value;
    };
    const auto real = [&](int i) {
        bool parsed = false;
        const double value = ok ? QByteArray(argv[i]).toDouble(&parsed) : 0;
        ok = ok && parsed;
        return value;
    };
    const int code = integer(2);
    const double originX = real(3), originY = real(4), pitchX = real(5), pitchY = real(6);
    const int dotsX = integer(7), dotsY = integer(8);
    if (!ok) {
        std::fputs("usage: font_dots FONT CODE ORIGINX ORIGINY PITCHX PITCHY DOTSX DOTSY\n",
                   stderr);
        return 2;
    }
    QString error;
    const QList<QString> rows =
        FontCheck::rasterDots(QString::fromLocal8Bit(argv[1]), code, originX, originY, pitchX,
                              pitchY, dotsX, dotsY, &error);
    if (rows.isEmpty()) {
        std::fprintf(stderr, "font_dots: %s\n", qPrintable(error));
        return 1;
    }
    for (const QString& row : rows)
        std::printf("%s\n", qPrintable(row));
    return 0;
}
