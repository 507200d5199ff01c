#include "fontd/FontDocument.h"

#include "dots/DotBoxes.h"
#include "fontd/AtomicFile.h"
#include "fontd/BmpReader.h"
#include "fontd/FontCodes.h"
#include "fontd/GlyphBuilder.h"
#include "fontd/RegularFile.h"
#include "fontd/TrueTypeReader.h"
#include "fontd/TrueTypeWriter.h"
#include "fontd/Woff2.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

namespace {

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

FontDocument::FontDocument(Kind kind)
    : m_kind(kind)
{
    m_names.family = defaultFamilyName(kind);
}

QString FontDocument::defaultFamilyName(Kind kind)
{
    return kind == Western ? QStringLiteral("Pointillo Western")
                           : QStringLiteral("Pointillo Japanese");
}

void FontDocument::setNames(const FontNames& names)
{
    const FontNames value = FontNaming::normalized(names, defaultFamilyName(m_kind));
    if (value == m_names)
        return;
    if (value.family != m_names.family)
        m_familyGiven = !names.family.trimmed().isEmpty();
    m_names = value;
    m_saved = false;
}

void FontDocument::setFamilyName(const QString& name)
{
    FontNames names = m_names;
    names.family = name;
    setNames(names);
}

std::span<const int> FontDocument::codes() const
{
    return FontCodes::codes(m_kind);
}

bool FontDocument::holds(int code) const
{
    return FontCodes::holds(m_kind, code);
}

void FontDocument::setDotGrid(const std::optional<DotGrid>& grid)
{
    if (grid == m_grid)
        return;
    m_grid = grid;
    m_saved = false;
}

int FontDocument::unitsPerEm() const
{
    return m_grid ? m_grid->unitsPerEm() : UnitsPerEm;
}

int FontDocument::ascender() const
{
    return m_grid ? m_grid->ascender() : Ascender;
}

int FontDocument::descender() const
{
    return m_grid ? m_grid->descender() : Descender;
}

int FontDocument::emptyAdvance() const
{
    return m_grid ? m_grid->boxWidth() : CanvasAdvance;
}

bool FontDocument::setCurrentCode(int code)
{
    if (!holds(code))
        return false;
    if (code != m_current)
        m_selected = false;
    m_current = code;
    return true;
}

std::optional<int> FontDocument::codeAfter(int code) const
{
    const auto list = codes();
    const auto it = std::upper_bound(list.begin(), list.end(), code);
    if (it == list.end())
        return std::nullopt;
    return *it;
}

std::optional<int> FontDocument::codeBefore(int code) const
{
    const auto list = codes();
    const auto it = std::lower_bound(list.begin(), list.end(), code);
    if (it == list.begin())
        return std::nullopt;
    return *std::prev(it);
}

bool FontDocument::nextCode()
{
    const std::optional<int> next = codeAfter(m_current);
    return next && setCurrentCode(*next);
}

bool FontDocument::previousCode()
{
    const std::optional<int> previous = codeBefore(m_current);
    return previous && setCurrentCode(*previous);
}

void FontDocument::selectAll()
{
    m_selected = true;
}

void FontDocument::deleteSelection()
{
    if (!m_selected)
        return;
    m_selected = false;
    clearGlyph(m_current);
}

void FontDocument::clearGlyph(int code)
{
    if (!holds(code))
        return;
    FontGlyph& glyph = m_glyphs[code];
    // The outline goes; the advance width stays until the next import or side bearings.
    glyph.contours.clear();
    glyph.leftSideBearing = 0;
    m_saved = false;
}

bool FontDocument::importBitmap(const QString& path, QString* error)
{
    return importBitmap(m_current, path, error);
}

bool FontDocument::importBitmap(int code, const QString& path, QString* error)
{
    if (!holds(code))
        return fail(error, FontDocument::tr("the font cannot hold the code 0x%1").arg(code, 0, 16));
    QString reason;
    const std::optional<InkMask> ink = BmpReader::readFile(path, &reason);
    return importImage(code, ink ? &*ink : nullptr, reason, QDir::toNativeSeparators(path), error);
}

bool FontDocument::importBitmapData(int code, QByteArrayView bmp, QString* error)
{
    if (!holds(code))
        return fail(error, FontDocument::tr("the font cannot hold the code 0x%1").arg(code, 0, 16));
    QString reason;
    const std::optional<InkMask> ink = BmpReader::read(bmp, &reason);
    return importImage(code, ink ? &*ink : nullptr, reason,
                       QStringLiteral("code 0x%1").arg(code, 0, 16), error);
}

bool FontDocument::importInk(int code, const InkMask& canvas, QString* error)
{
    if (!holds(code))
        return fail(error, FontDocument::tr("the font cannot hold the code 0x%1").arg(code, 0, 16));
    return importImage(code, &canvas, QString(), QStringLiteral("code 0x%1").arg(code, 0, 16),
                       error);
}

bool FontDocument::importDots(int code, const InkMask& dots, const GridGeometry& grid,
                              int sizePercent, QString* error)
{
    if (DotBoxes::boxSize(grid, sizePercent) != QSize(grid.nX(), grid.nY()))
        return importInk(code, DotBoxes::ink(DotBoxes::boxes(dots, grid, sizePercent)), error);
    if (!holds(code))
        return fail(error, FontDocument::tr("the font cannot hold the code 0x%1").arg(code, 0, 16));
    FontGlyph glyph;
    QString reason;
    if (!GlyphBuilder::fromDots(dots, grid, m_tracer, DotGrid::canvasOrigin(m_grid),
                                m_grid ? std::optional<int>(m_grid->boxWidth()) : std::nullopt,
                                &glyph, &reason))
        return fail(error, QStringLiteral("code 0x%1: %2").arg(code, 0, 16).arg(reason));
    m_glyphs[code] = std::move(glyph);
    m_saved = false;
    return true;
}

bool FontDocument::importImage(int code, const InkMask* ink, QString reason, const QString& source,
                               QString* error)
{
    FontGlyph glyph;
    if (!ink ||
        !GlyphBuilder::fromInk(*ink, m_tracer, DotGrid::canvasOrigin(m_grid),
                               m_grid ? std::optional<int>(m_grid->boxWidth()) : std::nullopt,
                               &glyph, &reason))
        return fail(error, QStringLiteral("%1: %2").arg(source, reason));
    m_glyphs[code] = std::move(glyph);
    m_saved = false;
    return true;
}

bool FontDocument::setSideBearings(int lsb, int rsb, QString* error)
{
    return setSideBearings(m_current, lsb, rsb, error);
}

bool FontDocument::setSideBearings(int code, int lsb, int rsb, QString* error)
{
    if (!holds(code))
        return fail(error, FontDocument::tr("the font cannot hold the code 0x%1").arg(code, 0, 16));
    const auto it = m_glyphs.find(code);
    FontGlyph glyph = it != m_glyphs.end() ? it->second : FontGlyph();
    if (!GlyphBuilder::setSideBearings(&glyph, lsb, rsb, m_grid, error))
        return false;
    m_glyphs[code] = std::move(glyph);
    m_saved = false;
    return true;
}

bool FontDocument::setGlyph(int code, const FontGlyph& glyph, QString* error)
{
    if (!holds(code))
        return fail(error, FontDocument::tr("the font cannot hold the code 0x%1").arg(code, 0, 16));
    QString reason;
    if (!GlyphBuilder::fits(glyph, &reason))
        return fail(error, FontDocument::tr("code 0x%1: %2").arg(code, 0, 16).arg(reason));
    m_glyphs[code] = glyph;
    m_saved = false;
    return true;
}

const FontGlyph* FontDocument::glyph(int code) const
{
    const auto it = m_glyphs.find(code);
    return it == m_glyphs.end() ? nullptr : &it->second;
}

QByteArray FontDocument::toTrueType(QString* error, const QDateTime& timestamp) const
{
    return TrueTypeWriter::write(*this, error, timestamp);
}

QByteArray FontDocument::fileData(const QString& path, QString* error,
                                  const QDateTime& timestamp) const
{
    QByteArray data = toTrueType(error, timestamp);
    if (data.isEmpty() || !Woff2::isWoff2Name(path))
        return data;
    return Woff2::compress(data, error);
}

QString FontDocument::untitledPath(const QString& folder, int n) const
{
    // The family name may come from a font file: no folder separators or controls in it.
    QString base = m_names.family;
    for (QChar& c : base) {
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control)
            c = u'_';
    }
    base = base.trimmed();
    if (base.isEmpty() || base.startsWith(u'.'))
        base.prepend(QStringLiteral("Pointillo"));
    return QDir(folder).filePath(QStringLiteral("%1 %2.ttf").arg(base).arg(n));
}

QString FontDocument::untitledFileName(const ReservedName& reserved) const
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    for (int n = 1;; ++n) {
        const QString path = untitledPath(folder, n);
        if (!QFileInfo::exists(path) && !(reserved && reserved(path)))
            return path;
    }
}

QByteArray FontDocument::encode(const QString& path, QString* error,
                                const QDateTime& timestamp) const
{
    QString reason;
    QByteArray data = fileData(path, &reason, timestamp);
    if (data.isEmpty())
        fail(error, FontDocument::tr("cannot build the font: %1").arg(reason));
    return data;
}

void FontDocument::markSaved(const QString& path)
{
    m_fileName = path;
    m_saved = true;
}

bool FontDocument::save(QString* error, const ReservedName& reserved)
{
    if (!m_fileName.isEmpty())
        return saveAs(m_fileName, error);

    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return fail(error, FontDocument::tr("cannot create the documents folder %1")
                               .arg(QDir::toNativeSeparators(folder)));
    const QByteArray data = encode(QString(), error);
    if (data.isEmpty())
        return false;
    // The finished file takes the first free name in one step: no placeholder is ever seen,
    // and a name someone takes meanwhile is passed over.
    QString reason;
    const QString path = AtomicFile::create(
        folder,
        [&](int n) {
            const QString candidate = untitledPath(folder, n);
            return reserved && reserved(candidate) ? QString() : candidate;
        },
        data, &reason);
    if (path.isEmpty())
        return fail(error, FontDocument::tr("cannot save in %1: %2")
                               .arg(QDir::toNativeSeparators(folder), reason));
    markSaved(path);
    return true;
}

bool FontDocument::saveAs(const QString& path, QString* error, const QDateTime& timestamp,
                          AtomicFile::Flush flush)
{
    if (path.isEmpty())
        return fail(error, FontDocument::tr("no file name given"));
    const QFileInfo info(path);
    const QString target = info.absoluteFilePath();
    // The first name a user gives the file names the family too, unless the family was given.
    const FontNames names = m_names;
    const bool given = m_familyGiven;
    const bool saved = m_saved;
    if (m_fileName.isEmpty() && !m_familyGiven && !info.completeBaseName().trimmed().isEmpty())
        setFamilyName(info.completeBaseName());
    const auto undo = [&] {
        m_names = names;
        m_familyGiven = given;
        m_saved = saved;
        return false;
    };
    const QByteArray data = encode(target, error, timestamp);
    if (data.isEmpty())
        return undo();
    QString reason;
    if (!AtomicFile::replace(target, data, &reason, flush)) {
        fail(error,
             FontDocument::tr("cannot write %1: %2").arg(QDir::toNativeSeparators(target), reason));
        return undo();
    }
    markSaved(target);
    return true;
}

std::unique_ptr<FontDocument> FontDocument::fromTrueType(QByteArrayView data, QString* error)
{
    std::unique_ptr<FontDocument> doc;
    if (Woff2::isWoff2(data)) {
        const QByteArray trueType = Woff2::decompress(data, MaxFileSize, error);
        if (!trueType.isEmpty())
            doc = TrueTypeReader::read(trueType, error);
    } else {
        doc = TrueTypeReader::read(data, error);
    }
    if (doc) {
        doc->m_familyGiven = true;
        doc->m_saved = true;
    }
    return doc;
}

std::unique_ptr<FontDocument> FontDocument::open(const QString& path, QString* error)
{
    const QString shown = QDir::toNativeSeparators(path);
    RegularFile file;
    QString reason;
    if (!file.open(path, &reason)) {
        fail(error, FontDocument::tr("cannot open %1: %2").arg(shown, reason));
        return nullptr;
    }
    if (file.size() > MaxFileSize) {
        fail(error, FontDocument::tr("%1: the file is too large for a font (%2 bytes, at most %3)")
                        .arg(shown)
                        .arg(file.size())
                        .arg(MaxFileSize));
        return nullptr;
    }
    QByteArray data(qsizetype(file.size()), Qt::Uninitialized);
    if (!file.readAt(0, data.data(), data.size(), &reason)) {
        fail(error, FontDocument::tr("cannot read %1: %2").arg(shown, reason));
        return nullptr;
    }
    std::unique_ptr<FontDocument> doc = fromTrueType(data, &reason);
    if (!doc) {
        fail(error, QStringLiteral("%1: %2").arg(shown, reason));
        return nullptr;
    }
    doc->m_fileName = QFileInfo(path).absoluteFilePath();
    return doc;
}
