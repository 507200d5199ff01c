#pragma once

#include "fontd/FontDocument.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QImage>
#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <memory>

class GlyphStore;

// A font built with neither a window nor a bus from a character-table file, from bitmap fonts
// or from both: the font that a batch export of the codes 32..255 builds in the server, for a
// Japanese font also the editor's send-all of the double-byte glyphs in the page files beside
// the table (PageFiles), and the font of every glyph of the bitmap fonts given, read into the
// same glyph store (FontImport).  For every code of that range the font holds, 127 aside, every
// double-byte code whose glyph has a set dot, and every code of a font's glyphs, the glyph in
// the code's cell becomes the boxes the editor's export draws (DotBoxes) and their ink is
// traced as the server traces the glyph bitmap of them, with the side bearings set after the
// import when they are given.  The font knows its dot grid, as the editor tells the server.
class TableBuild
{
    Q_DECLARE_TR_FUNCTIONS(TableBuild)

public:
    // The export's settings, with the limits of the editor's controls.
    struct Settings
    {
        int dotsX = 12;
        int dotsY = 20;
        int sizePercent = 100; // box side in percent of the dot pitch
        bool square = false;   // square dot cells
        bool sideBearings = false;
        int lsb = 0; // font units, with sideBearings
        int rsb = 0;
        FontDocument::Kind kind = FontDocument::Western;
        QString family; // empty: the output file's name gives it
    };
    static constexpr int MinDots = DotGrid::MinDots;
    static constexpr int MaxDots = DotGrid::MaxDots;
    static constexpr int MinSize = 1;
    static constexpr int MaxSize = 100;

    // What the editor would not send: dots or a size beyond its sliders, side bearings beyond
    // 16 bits.  An empty string when the settings are good.
    static QString check(const Settings& settings);

    // The codes of a batch over 32..255 that a font of kind holds, 127 aside: 223 for a
    // Western font, the 158 single-byte codes of a Japanese one.
    static QList<int> codes(FontDocument::Kind kind);

    // The codes a build of store sends: codes(kind), then for a Japanese font the double-byte
    // codes whose top-left dotsX x dotsY of their cell has a set dot, ascending.
    static QList<int> codes(const GlyphStore& store, const Settings& settings);

    // Builds the font of a glyph store (its single-byte page as TableFile reads a table: what
    // lies beyond the picture is clear): the glyphs of codes(store, settings), or of the codes
    // given.  Returns nullptr with a reason that names the code when the server would refuse a
    // glyph or its side bearings.
    static std::unique_ptr<FontDocument> build(const GlyphStore& store, const Settings& settings,
                                               QString* error = nullptr);
    static std::unique_ptr<FontDocument> build(const GlyphStore& store, const Settings& settings,
                                               const QList<int>& codes, QString* error = nullptr);
    // build() in two steps: a font of no glyphs for settings (nullptr with a reason for settings
    // check() refuses), then the glyphs of codes in store added to it, one part of a store
    // after another.
    static std::unique_ptr<FontDocument> newFont(const Settings& settings,
                                                 QString* error = nullptr);
    static bool addGlyphs(FontDocument& doc, const GlyphStore& store, const Settings& settings,
                          const QList<int>& codes, QString* error = nullptr);

    // The date written into the font, so that builds from the same sources give the same
    // bytes: SOURCE_DATE_EPOCH (seconds since 1970) when it is set, else the newest
    // modification time of the files.  Invalid, with a reason, when SOURCE_DATE_EPOCH is not a
    // number of seconds (digits only: "-1", "+5" and " 5" are refused), lies beyond MaxYear or
    // a file has no time.
    static constexpr int MaxYear = 9999;
    static QDateTime timestamp(const QStringList& paths, const QProcessEnvironment& environment,
                               QString* error = nullptr);

    // What the command line asks for.  The sources are read in order into one glyph store, a
    // later one's glyph replacing an earlier one's of the same code: a character table holds
    // every cell of its pages, a font the codes of its glyphs.  Without dotsGiven the glyph
    // size is the fonts' (FontImport::layout); without kindGiven the kind follows from the
    // fonts' registries, else from the kind that holds more of their glyphs, else Western.  A
    // build of fonts alone has square dots, as pixels are.
    struct Request
    {
        QStringList sources;
        QString output;
        Settings settings;
        bool dotsGiven = true;
        bool kindGiven = true;
    };
    // A source named *.bmp (any case) is a character table; any other a bitmap font (BDF, PCF,
    // either gzipped, or anything FontReader reads at its own size).
    static bool isTable(const QString& source);

    // The whole command: reads the sources (for a Japanese font a table's page files too: a
    // page file that cannot be read is an error), builds and writes output (WOFF2 when its name
    // ends in .woff2, else TrueType).  Returns true with a one-line summary and notes on glyphs
    // left out (of codes the kind does not hold, dots cut to the glyph size), or false with the
    // reason: a source that cannot be read, fonts of both kinds without --kind, a font with no
    // glyph of a code the kind holds.
    static bool run(const Request& request, const QProcessEnvironment& environment,
                    QString* summary, QStringList* notes, QString* error);
};
