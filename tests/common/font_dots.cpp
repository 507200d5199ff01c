// The dots FreeType sees in one glyph of a font, for the shell-level tests:
//   font_dots FONT CODE ORIGINX ORIGINY PITCHX PITCHY DOTSX DOTSY
// prints FontCheck::rasterDots: DOTSY rows of DOTSX characters, '#' for a dot the glyph
// covers, '.' for one it does not.  CODE may be hexadecimal (0x21).  Status 1 with the reason
// on stderr when the glyph cannot be read, 2 on a usage error.

#include "common/FontCheck.h"

#include <cstdio>

int main(int argc, char** argv)
{
    bool ok = argc == 9;
    double v[9] = {};
    for (int i = 2; ok && i < argc; ++i)
        v[i] = i == 2 ? QByteArray(argv[i]).toInt(&ok, 0) : QByteArray(argv[i]).toDouble(&ok);
    if (!ok) {
        std::fputs("usage: font_dots FONT CODE ORIGINX ORIGINY PITCHX PITCHY DOTSX DOTSY\n",
                   stderr);
        return 2;
    }
    QString error;
    const QList<QString> rows =
        FontCheck::rasterDots(QString::fromLocal8Bit(argv[1]), int(v[2]), v[3], v[4], v[5], v[6],
                              int(v[7]), int(v[8]), &error);
    for (const QString& row : rows)
        std::printf("%s\n", qPrintable(row));
    if (rows.isEmpty())
        std::fprintf(stderr, "font_dots: %s\n", qPrintable(error));
    return rows.isEmpty() ? 1 : 0;
}
