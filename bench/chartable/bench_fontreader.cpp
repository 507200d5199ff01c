// Prints what reading a whole Japanese bitmap font costs: a 16-dot JIS X 0208 font of 6879
// glyphs as Debian ships it (PCF, gzipped) and the same glyphs as a BDF font, each read into
// codes and dots, and the BDF reader's line-by-line check on its own.  FONT may be another
// JIS X 0208 font.
//
//   bench_fontreader [--font FONT] [--runs N]
//   bench_fontreader [--font FONT] --write-bdf OUT.bdf
//
// FONT defaults to j90-16.pcf.gz of Debian's xfonts-intl-japanese.  --write-bdf writes the BDF
// font of its glyphs and ends: the input of the build's comparison with its peers.

#include "BenchFigures.h"
#include "chartable/BdfFont.h"
#include "chartable/FontReader.h"
#include "codes/Cp932.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

// The glyphs as a JIS X 0208 BDF font: each glyph fills the font's cell.
QByteArray bdfOf(const FontReader::Font& font)
{
    const QSize s = font.glyphSize;
    const QByteArray box = QByteArray::number(s.width()) + ' ' + QByteArray::number(s.height()) +
                           ' ' + QByteArray::number(font.box.left()) + ' ' +
                           QByteArray::number(font.baseline - s.height());
    QByteArray out = "STARTFONT 2.1\nFONT -Bench-Fixed-Medium-R-Normal--16-150-75-75-C-160-"
                     "JISX0208.1990-0\nSIZE 16 75 75\nFONTBOUNDINGBOX " +
                     box +
                     "\nSTARTPROPERTIES 10\nPIXEL_SIZE 16\nPOINT_SIZE 150\nRESOLUTION_X 75\n"
                     "RESOLUTION_Y 75\nSPACING \"C\"\nAVERAGE_WIDTH 160\nFONT_ASCENT " +
                     QByteArray::number(font.baseline) + "\nFONT_DESCENT " +
                     QByteArray::number(s.height() - font.baseline) +
                     "\nCHARSET_REGISTRY \"JISX0208.1990\"\n"
                     "CHARSET_ENCODING \"0\"\nENDPROPERTIES\nCHARS " +
                     QByteArray::number(qsizetype(font.glyphs.size())) + '\n';
    for (const FontReader::Glyph& g : font.glyphs) {
        const int jis = Cp932::toJis(g.code);
        out += "STARTCHAR " + QByteArray::number(jis, 16) + "\nENCODING " +
               QByteArray::number(jis) + "\nSWIDTH 1000 0\nDWIDTH " +
               QByteArray::number(s.width()) + " 0\nBBX " + box + "\nBITMAP\n";
        for (int y = 0; y < s.height(); ++y) {
            const quint32 row = g.rows[size_t(y)];
            const int bytes = (s.width() + 7) / 8;
            for (int i = 0; i < bytes; ++i)
                out += QByteArray::number(row >> (24 - 8 * i) & 0xFF, 16).rightJustified(2, '0');
            out += '\n';
        }
        out += "ENDCHAR\n";
    }
    return out + "ENDFONT\n";
}

// Wall-clock and CPU figures of work, in microseconds: the CPU time tells more on a machine
// that others load.
void measure(const char* what, int runs, const std::function<void()>& work)
{
    std::vector<double> cpu;
    const BenchFigures wall = BenchFigures::measure(runs, [&] {
        timespec a, b;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &a);
        work();
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &b);
        cpu.push_back(double(b.tv_sec - a.tv_sec) * 1e6 + double(b.tv_nsec - a.tv_nsec) / 1e3);
    });
    wall.print(what, "us");
    BenchFigures::of(cpu).print("  CPU time", "us");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString fontPath = QStringLiteral("/usr/share/fonts/X11/misc/j90-16.pcf.gz");
    int runs = 30;
    QString writeBdf;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == u"--font")
            fontPath = args[i + 1];
        else if (args[i] == u"--runs")
            runs = std::max(1, args[i + 1].toInt());
        else if (args[i] == u"--write-bdf")
            writeBdf = args[i + 1];
    }
    QString error;
    FontReader reader;
    const bool open = reader.open(fontPath, 16, &error);
    if (open && !reader.registry().name().startsWith(u"JISX0208"))
        error = QStringLiteral("not a JIS X 0208 font");
    const auto font = error.isEmpty() ? reader.read(FontDocument::Japanese, &error) : std::nullopt;
    if (!font) {
        std::fprintf(stderr, "%s: %s\n(Debian: apt-get install xfonts-intl-japanese)\n",
                     qPrintable(fontPath), qPrintable(error));
        return 1;
    }
    std::printf("%s: %zu glyphs, %d x %d dots\n", qPrintable(fontPath), font->glyphs.size(),
                font->glyphSize.width(), font->glyphSize.height());

    QTemporaryDir dir;
    const QString bdfPath =
        writeBdf.isEmpty() ? dir.filePath(QStringLiteral("font.bdf")) : writeBdf;
    const QByteArray bdf = bdfOf(*font);
    QFile out(bdfPath);
    if (!out.open(QIODevice::WriteOnly) || out.write(bdf) != bdf.size())
        return 1;
    out.close();
    std::printf("the same as BDF: %lld bytes\n", static_cast<long long>(bdf.size()));
    if (!writeBdf.isEmpty())
        return 0;

    size_t glyphs = 0;
    measure("read BDF (whole file to codes and dots)", runs,
            [&] { glyphs = FontReader::read(bdfPath, 16, FontDocument::Japanese)->glyphs.size(); });
    measure("  of which the BDF check", runs, [&] { BdfFont::check(bdf); });
    FontReader opened;
    if (opened.open(bdfPath, 16)) {
        measure("  of which the glyphs to codes and dots", runs,
                [&] { opened.read(FontDocument::Japanese); });
    }
    std::printf("  %zu glyphs\n", glyphs);
    measure("read the font as given", runs, [&] {
        glyphs = FontReader::read(fontPath, 16, FontDocument::Japanese)->glyphs.size();
    });
    return 0;
}
