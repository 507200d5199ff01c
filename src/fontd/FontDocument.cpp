#include "fontd/FontDocument.h"

#include "fontd/AtomicFile.h"
#include "fontd/BmpReader.h"
#include "fontd/FontCodes.h"
#include "fontd/GlyphBuilder.h"
#include "fontd/RegularFile.h"
#include "fontd/TrueTypeReader.h"
#include "fontd/TrueTypeWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
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
    , m_familyName(defaultFamilyName(kind))
{}

QString FontDocument::defaultFamilyName(Kind kind)
{
    return kind == Western ? QStringLiteral("Pointillo Western")
                           : QStringLiteral("Pointillo Japanese");
}

void FontDocument::setFamilyName(const QString& name)
{
    const QString value = name.trimmed().isEmpty() ? defaultFamilyName(m_kind) : name.trimmed();
    if (value == m_familyName)
        return;
    m_familyName = value;
    m_saved = false;
}

std::span<const int> FontDocument::codes() const
{
    return FontCodes::codes(m_kind);
}

bool FontDocument::holds(int code) const
{
    return FontCodes::holds(m_kind, code);
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

bool FontDocument::nextCode()
{
    const auto list = codes();
    const auto it = std::upper_bound(list.begin(), list.end(), m_current);
    if (it == list.end())
        return false;
    return setCurrentCode(*it);
}

bool FontDocument::previousCode()
{
    const auto list = codes();
    const auto it = std::lower_bound(list.begin(), list.end(), m_current);
    if (it == list.begin())
        return false;
    return setCurrentCode(*std::prev(it));
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
    FontGlyph& glyph = m_glyphs[m_current];
    // The outline goes; the advance width stays until the next import or side bearings.
    glyph.contours.clear();
    glyph.leftSideBearing = 0;
    m_saved = false;
}

bool FontDocument::importBitmap(const QString& path, QString* error)
{
    QString reason;
    const std::optional<InkMask> ink = BmpReader::readFile(path, &reason);
    FontGlyph glyph;
    if (!ink || !GlyphBuilder::fromInk(*ink, m_tracer, &glyph, &reason))
        return fail(error, QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason));
    m_glyphs[m_current] = std::move(glyph);
    m_saved = false;
    return true;
}

bool FontDocument::setSideBearings(int lsb, int rsb, QString* error)
{
    const auto it = m_glyphs.find(m_current);
    FontGlyph glyph = it != m_glyphs.end() ? it->second : FontGlyph();
    if (!GlyphBuilder::setSideBearings(&glyph, lsb, rsb, error))
        return false;
    m_glyphs[m_current] = std::move(glyph);
    m_saved = false;
    return true;
}

bool FontDocument::setGlyph(int code, const FontGlyph& glyph, QString* error)
{
    if (!holds(code))
        return fail(error, QStringLiteral("the font cannot hold the code 0x%1").arg(code, 0, 16));
    QString reason;
    if (!GlyphBuilder::fits(glyph, &reason))
        return fail(error, QStringLiteral("code 0x%1: %2").arg(code, 0, 16).arg(reason));
    m_glyphs[code] = glyph;
    m_saved = false;
    return true;
}

const FontGlyph* FontDocument::glyph(int code) const
{
    const auto it = m_glyphs.find(code);
    return it == m_glyphs.end() ? nullptr : &it->second;
}

QByteArray FontDocument::toTrueType(QString* error) const
{
    return TrueTypeWriter::write(*this, error);
}

QString FontDocument::untitledFileName() const
{
    const QDir folder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    // The family name may come from a font file: no folder separators or controls in it.
    QString base = m_familyName;
    for (QChar& c : base) {
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control)
            c = u'_';
    }
    base = base.trimmed();
    if (base.isEmpty() || base.startsWith(u'.'))
        base.prepend(QStringLiteral("Pointillo"));
    for (int n = 1;; ++n) {
        const QString path = folder.filePath(QStringLiteral("%1 %2.ttf").arg(base).arg(n));
        if (!QFileInfo::exists(path))
            return path;
    }
}

bool FontDocument::save(QString* error)
{
    if (!m_fileName.isEmpty())
        return writeFile(m_fileName, error);

    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return fail(error, QStringLiteral("cannot create the documents folder %1")
                               .arg(QDir::toNativeSeparators(folder)));
    // Another program may take a name between the look and the write: claim it first.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = untitledFileName();
        QFile claim(path);
        if (!claim.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFileInfo::exists(path))
                continue;
            return fail(error, QStringLiteral("cannot create %1: %2")
                                   .arg(QDir::toNativeSeparators(path), claim.errorString()));
        }
        claim.close();
        if (!writeFile(path, error)) {
            QFile::remove(path);
            return false;
        }
        return true;
    }
    return fail(
        error,
        QStringLiteral("cannot find a free file name in %1").arg(QDir::toNativeSeparators(folder)));
}

bool FontDocument::saveAs(const QString& path, QString* error)
{
    if (path.isEmpty())
        return fail(error, QStringLiteral("no file name given"));
    return writeFile(QFileInfo(path).absoluteFilePath(), error);
}

bool FontDocument::writeFile(const QString& path, QString* error)
{
    QString reason;
    const QByteArray data = toTrueType(&reason);
    if (data.isEmpty())
        return fail(error, QStringLiteral("cannot build the font: %1").arg(reason));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, QStringLiteral("cannot write %1: %2")
                               .arg(QDir::toNativeSeparators(path), file.errorString()));
    if (file.write(data) != data.size() || !file.commit())
        return fail(error, QStringLiteral("cannot write %1: %2")
                               .arg(QDir::toNativeSeparators(path), file.errorString()));
    m_fileName = path;
    m_saved = true;
    return true;
}

std::unique_ptr<FontDocument> FontDocument::fromTrueType(QByteArrayView data, QString* error)
{
    std::unique_ptr<FontDocument> doc = TrueTypeReader::read(data, error);
    if (doc)
        doc->m_saved = true;
    return doc;
}

std::unique_ptr<FontDocument> FontDocument::open(const QString& path, QString* error)
{
    const QString shown = QDir::toNativeSeparators(path);
    RegularFile file;
    QString reason;
    if (!file.open(path, &reason)) {
        fail(error, QStringLiteral("cannot open %1: %2").arg(shown, reason));
        return nullptr;
    }
    if (file.size() > MaxFileSize) {
        fail(error, QStringLiteral("%1: the file is too large for a font (%2 bytes, at most %3)")
                        .arg(shown)
                        .arg(file.size())
                        .arg(MaxFileSize));
        return nullptr;
    }
    QByteArray data(qsizetype(file.size()), Qt::Uninitialized);
    if (!file.readAt(0, data.data(), data.size(), &reason)) {
        fail(error, QStringLiteral("cannot read %1: %2").arg(shown, reason));
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
