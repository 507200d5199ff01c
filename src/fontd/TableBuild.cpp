#include "fontd/TableBuild.h"

#include "chartable/CharTable.h"
#include "chartable/FontImport.h"
#include "chartable/FontReader.h"
#include "chartable/GlyphStore.h"
#include "chartable/PageFiles.h"
#include "chartable/TableFile.h"
#include "dots/DotBoxes.h"
#include "dots/GridGeometry.h"
#include "fontd/FontCodes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimeZone>
#include <algorithm>
#include <limits>
#include <sys/stat.h>
#include <vector>

namespace {

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

QString TableBuild::check(const Settings& s)
{
    const auto inRange = [](int v, int low, int high) { return v >= low && v <= high; };
    if (!inRange(s.dotsX, MinDots, MaxDots) || !inRange(s.dotsY, MinDots, MaxDots))
        return tr("a glyph has %1 to %2 dots each way, not %3 x %4")
            .arg(MinDots)
            .arg(MaxDots)
            .arg(s.dotsX)
            .arg(s.dotsY);
    if (!inRange(s.sizePercent, MinSize, MaxSize))
        return tr("the dot size is %1 to %2 percent, not %3")
            .arg(MinSize)
            .arg(MaxSize)
            .arg(s.sizePercent);
    if (s.sideBearings && (!inRange(s.lsb, -32768, 32767) || !inRange(s.rsb, -32768, 32767)))
        return tr("side bearings are -32768 to 32767 font units, not %1 and %2")
            .arg(s.lsb)
            .arg(s.rsb);
    return {};
}

QList<int> TableBuild::codes(FontDocument::Kind kind)
{
    QList<int> result;
    for (int code = 32; code <= 255; ++code) {
        if (code != 127 && FontCodes::holds(kind, code))
            result.append(code);
    }
    return result;
}

QList<int> TableBuild::codes(const GlyphStore& store, const Settings& s)
{
    QList<int> result = codes(s.kind);
    if (s.kind != FontDocument::Japanese)
        return result;
    for (int code : store.codes(QSize(s.dotsX, s.dotsY))) {
        if (code > 0xFF && FontCodes::holds(s.kind, code))
            result.append(code);
    }
    return result;
}

std::unique_ptr<FontDocument> TableBuild::build(const GlyphStore& store, const Settings& s,
                                                QString* error)
{
    return build(store, s, codes(store, s), error);
}

std::unique_ptr<FontDocument> TableBuild::build(const GlyphStore& store, const Settings& s,
                                                const QList<int>& codes, QString* error)
{
    std::unique_ptr<FontDocument> doc = newFont(s, error);
    if (!doc || !addGlyphs(*doc, store, s, codes, error))
        return nullptr;
    return doc;
}

std::unique_ptr<FontDocument> TableBuild::newFont(const Settings& s, QString* error)
{
    if (const QString fault = check(s); !fault.isEmpty()) {
        fail(error, fault);
        return nullptr;
    }
    auto doc = std::make_unique<FontDocument>(s.kind);
    if (!s.family.isEmpty())
        doc->setFamilyName(s.family);
    doc->setDotGrid(DotGrid::of(s.dotsX, s.dotsY, s.square));
    return doc;
}

bool TableBuild::addGlyphs(FontDocument& doc, const GlyphStore& store, const Settings& s,
                           const QList<int>& codes, QString* error)
{
    const GridGeometry grid = GridGeometry::compute(s.dotsX, s.dotsY, s.square);
    for (int code : codes) {
        const InkMask dots =
            CharTable::dots(store.page(GlyphStore::pageOf(code)),
                            GlyphStore::cellRect(code).topLeft(), QSize(s.dotsX, s.dotsY));
        QString reason;
        if (!doc.importDots(code, dots, grid, s.sizePercent, &reason) ||
            (s.sideBearings && !doc.setSideBearings(code, s.lsb, s.rsb, &reason)))
            return fail(error, tr("code 0x%1: %2").arg(code, 2, 16, QLatin1Char('0')).arg(reason));
    }
    return true;
}

QDateTime TableBuild::timestamp(const QStringList& paths, const QProcessEnvironment& environment,
                                QString* error)
{
    const QString name = QStringLiteral("SOURCE_DATE_EPOCH");
    if (environment.contains(name)) {
        const QString text = environment.value(name);
        bool ok = false;
        const qint64 seconds = text.toLongLong(&ok);
        // Digits only: no sign, no blanks, no exponent.
        if (!ok || text.isEmpty() || !std::all_of(text.begin(), text.end(), [](QChar c) {
                return c >= u'0' && c <= u'9';
            })) {
            fail(error, tr("SOURCE_DATE_EPOCH must be a number of seconds, not \"%1\"").arg(text));
            return {};
        }
        const QDateTime when = QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc());
        if (!when.isValid() || when.date().year() > MaxYear) {
            fail(error, tr("SOURCE_DATE_EPOCH %1 lies beyond the year %2").arg(text).arg(MaxYear));
            return {};
        }
        return when;
    }
    qint64 newest = std::numeric_limits<qint64>::min();
    for (const QString& path : paths) {
        const QDateTime modified = QFileInfo(path).lastModified();
        if (!modified.isValid()) {
            fail(error, tr("%1 has no modification time").arg(QDir::toNativeSeparators(path)));
            return {};
        }
        newest = std::max(newest, modified.toSecsSinceEpoch());
    }
    // Whole seconds, as the font keeps them.
    return QDateTime::fromSecsSinceEpoch(newest, QTimeZone::utc());
}

bool TableBuild::isTable(const QString& source)
{
    return source.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive);
}

bool TableBuild::run(const Request& request, const QProcessEnvironment& environment,
                     QString* summary, QStringList* notes, QString* error)
{
    Settings settings = request.settings;
    const auto native = [](const QString& path) { return QDir::toNativeSeparators(path); };
    const auto note = [notes](const QString& text) {
        if (notes)
            notes->append(text);
    };
    // A slip of the keyboard must not put a font where a source was.
    struct stat out;
    const bool outputExists = ::stat(QFile::encodeName(request.output).constData(), &out) == 0;
    for (const QString& source : request.sources) {
        struct stat in;
        if (outputExists && ::stat(QFile::encodeName(source).constData(), &in) == 0 &&
            in.st_dev == out.st_dev && in.st_ino == out.st_ino)
            return fail(
                error,
                isTable(source)
                    ? tr("the output %1 is the character table itself").arg(native(request.output))
                    : tr("the output %1 is the font %2 itself")
                          .arg(native(request.output), native(source)));
    }

    // The fonts first, at their own sizes: they decide the kind and the glyph size.
    struct Source
    {
        QString path;
        std::unique_ptr<FontReader> reader; // null for a table
        std::optional<FontReader::Font> font;
    };
    std::vector<Source> sources;
    QString reason;
    for (const QString& path : request.sources) {
        Source source{path, nullptr, std::nullopt};
        if (!isTable(path)) {
            source.reader = std::make_unique<FontReader>();
            if (!source.reader->open(path, FontReader::OwnSize, &reason))
                return fail(error, tr("cannot read the font %1: %2").arg(native(path), reason));
        }
        sources.push_back(std::move(source));
    }
    const auto kindName = [](FontDocument::Kind kind) {
        return kind == FontDocument::Japanese ? tr("Japanese") : tr("Western");
    };
    if (!request.kindGiven) {
        const Source* decided = nullptr;
        int western = 0, japanese = 0;
        for (const Source& s : sources) {
            if (!s.reader)
                continue;
            const std::optional<FontDocument::Kind> kind = s.reader->impliedKind();
            if (kind && decided && kind != decided->reader->impliedKind())
                return fail(error, tr("%1 is a %2 font and %3 a %4 one: give --kind")
                                       .arg(native(decided->path),
                                            kindName(*decided->reader->impliedKind()),
                                            native(s.path), kindName(*kind)));
            if (kind) {
                decided = &s;
                settings.kind = *kind;
            } else {
                // A Unicode font, or one without a registry: counted both ways.
                const auto count = [&s](FontDocument::Kind k) {
                    const std::optional<FontReader::Font> f = s.reader->read(k);
                    return f ? int(f->glyphs.size()) : 0;
                };
                western += count(FontDocument::Western);
                japanese += count(FontDocument::Japanese);
            }
        }
        if (!decided)
            settings.kind = japanese > western ? FontDocument::Japanese : FontDocument::Western;
    }
    QList<const FontReader::Font*> fonts;
    for (Source& s : sources) {
        if (!s.reader)
            continue;
        s.font = s.reader->read(settings.kind, &reason);
        if (!s.font)
            return fail(error, tr("cannot read the font %1: %2").arg(native(s.path), reason));
        if (s.font->glyphs.empty())
            return fail(error, tr("%1 holds no glyph of a code a %2 font holds")
                                   .arg(native(s.path), kindName(settings.kind)));
        if (s.font->unheld > 0)
            note(tr("%1: %n glyphs of codes a %2 font does not hold left out", nullptr,
                    int(s.font->unheld))
                     .arg(native(s.path), kindName(settings.kind)));
        fonts.append(&*s.font);
    }
    const FontImport::Layout layout = FontImport::layout(fonts);
    if (!request.dotsGiven) {
        settings.dotsX = layout.glyphSize.width();
        settings.dotsY = layout.glyphSize.height();
    }
    if (fonts.size() == qsizetype(sources.size()))
        settings.square = true;

    // The tables' pictures first: one that cannot be read ends the build before any work.
    std::vector<std::optional<QImage>> tables(sources.size());
    QList<int> pages;
    for (size_t i = 0; i < sources.size(); ++i) {
        const Source& s = sources[i];
        if (s.font) {
            pages += FontImport::area(*s.font, layout.glyphSize).keys();
            continue;
        }
        tables[i] = TableFile::readAsStored(s.path, &reason);
        if (!tables[i])
            return fail(error,
                        tr("cannot read the character table %1: %2").arg(native(s.path), reason));
        pages.append(GlyphStore::SingleBytePage);
        for (int page : GlyphStore::allPages()) {
            if (settings.kind == FontDocument::Japanese && page != GlyphStore::SingleBytePage &&
                QFileInfo::exists(PageFiles::fileName(s.path, page)))
                pages.append(page);
        }
    }
    std::sort(pages.begin(), pages.end());
    pages.erase(std::unique(pages.begin(), pages.end()), pages.end());

    const QDateTime when = timestamp(request.sources, environment, error);
    if (!when.isValid())
        return false;
    const std::unique_ptr<FontDocument> doc = newFont(settings, error);
    if (!doc)
        return false;
    // Page by page: every source's glyphs of a page into the store in order, a later one's
    // replacing an earlier one's, then that page's glyphs into the font and the page let go.
    // A font of thousands of glyphs then never holds more than a page of pixels: memory
    // touched once costs more than the tracing.
    GlyphStore store;
    const QSize size(settings.dotsX, settings.dotsY);
    std::vector<int> cut(sources.size(), 0);
    for (int page : pages) {
        QList<int> codes;
        for (size_t i = 0; i < sources.size(); ++i) {
            const Source& s = sources[i];
            if (s.font) {
                cut[i] += FontImport::write(store, *s.font, layout, page);
                for (const FontReader::Glyph& g : s.font->glyphs)
                    if (GlyphStore::pageOf(g.code) == page)
                        codes.append(g.code);
                continue;
            }
            if (page == GlyphStore::SingleBytePage) {
                store.setPage(page, *tables[i]);
                codes += TableBuild::codes(settings.kind);
                continue;
            }
            // A table's page file, as the editor reads it.
            const QString file = PageFiles::fileName(s.path, page);
            if (!QFileInfo::exists(file))
                continue;
            const std::optional<QImage> picture = TableFile::readAsStored(file, &reason);
            if (!picture)
                return fail(error, tr("cannot read the page file %1: %2")
                                       .arg(native(QFileInfo(file).absoluteFilePath()), reason));
            store.setPage(page, *picture);
            for (int cell = 0; cell <= 0xFF; ++cell) {
                const int code = page * 256 + cell;
                if (GlyphStore::pageOf(code) == page && FontCodes::holds(settings.kind, code) &&
                    store.hasDots(code, size))
                    codes.append(code);
            }
        }
        // The editor never sends 127.
        codes.removeAll(127);
        std::sort(codes.begin(), codes.end());
        codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
        if (!addGlyphs(*doc, store, settings, codes, &reason))
            return fail(error, tr("cannot build the font: %1").arg(reason));
        store.dropPage(page);
    }
    for (size_t i = 0; i < sources.size(); ++i) {
        if (cut[i] > 0)
            note(tr("%1: %2 glyphs cut to %3 x %4 dots")
                     .arg(native(sources[i].path))
                     .arg(cut[i])
                     .arg(layout.glyphSize.width())
                     .arg(layout.glyphSize.height()));
    }

    // The same sources build the same font again: no waiting for the disk.
    if (!doc->saveAs(request.output, error, when, AtomicFile::Flush::Later))
        return false;
    if (summary) {
        *summary = tr("%1: \"%2\", %n glyphs of %3 x %4 dots (%5), %6 bytes", nullptr,
                      int(doc->glyphs().size()))
                       .arg(native(request.output), doc->familyName())
                       .arg(settings.dotsX)
                       .arg(settings.dotsY)
                       .arg(kindName(settings.kind))
                       .arg(QFileInfo(doc->fileName()).size());
    }
    return true;
}
