#include "fontd/TableBuild.h"

#include "chartable/CharTable.h"
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
#include <sys/stat.h>

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
    if (const QString fault = check(s); !fault.isEmpty()) {
        fail(error, fault);
        return nullptr;
    }
    auto doc = std::make_unique<FontDocument>(s.kind);
    if (!s.family.isEmpty())
        doc->setFamilyName(s.family);
    doc->setDotGrid(DotGrid::of(s.dotsX, s.dotsY, s.square));
    const GridGeometry grid = GridGeometry::compute(s.dotsX, s.dotsY, s.square);
    for (int code : codes(store, s)) {
        const InkMask ink = DotBoxes::ink(DotBoxes::boxes(
            CharTable::dots(store.page(GlyphStore::pageOf(code)),
                            GlyphStore::cellRect(code).topLeft(), QSize(s.dotsX, s.dotsY)),
            grid, s.sizePercent));
        QString reason;
        if (!doc->importInk(code, ink, &reason) ||
            (s.sideBearings && !doc->setSideBearings(code, s.lsb, s.rsb, &reason))) {
            fail(error, tr("code 0x%1: %2").arg(code, 2, 16, QLatin1Char('0')).arg(reason));
            return nullptr;
        }
    }
    return doc;
}

QDateTime TableBuild::timestamp(const QString& tablePath, const QProcessEnvironment& environment,
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
    const QDateTime modified = QFileInfo(tablePath).lastModified();
    if (!modified.isValid()) {
        fail(error, tr("%1 has no modification time").arg(QDir::toNativeSeparators(tablePath)));
        return {};
    }
    // Whole seconds, as the font keeps them.
    return QDateTime::fromSecsSinceEpoch(modified.toSecsSinceEpoch(), QTimeZone::utc());
}

bool TableBuild::run(const QString& tablePath, const QString& output, const Settings& settings,
                     const QProcessEnvironment& environment, QString* summary, QString* error)
{
    // A slip of the keyboard must not put a font where the table was.
    struct stat in, out;
    if (::stat(QFile::encodeName(tablePath).constData(), &in) == 0 &&
        ::stat(QFile::encodeName(output).constData(), &out) == 0 && in.st_dev == out.st_dev &&
        in.st_ino == out.st_ino)
        return fail(error, tr("the output %1 is the character table itself")
                               .arg(QDir::toNativeSeparators(output)));
    QString reason;
    const std::optional<QImage> table = TableFile::readAsStored(tablePath, &reason);
    if (!table)
        return fail(error, tr("cannot read the character table %1: %2")
                               .arg(QDir::toNativeSeparators(tablePath), reason));
    GlyphStore store;
    store.setPage(GlyphStore::SingleBytePage, *table);
    if (settings.kind == FontDocument::Japanese) {
        const PageFiles::Loaded pages = PageFiles().load(store, tablePath);
        if (!pages.unreadable.isEmpty())
            return fail(error, tr("cannot read the page file %1: %2")
                                   .arg(QDir::toNativeSeparators(pages.unreadable.first()),
                                        pages.reasons.first()));
    }
    const QDateTime when = timestamp(tablePath, environment, error);
    if (!when.isValid())
        return false;
    const std::unique_ptr<FontDocument> doc = build(store, settings, &reason);
    if (!doc)
        return fail(error, tr("cannot build the font: %1").arg(reason));
    // The same table builds the same font again: no waiting for the disk.
    if (!doc->saveAs(output, error, when, AtomicFile::Flush::Later))
        return false;
    if (summary) {
        *summary =
            tr("%1: \"%2\", %3 glyphs of %4 x %5 dots (%6), %7 bytes")
                .arg(QDir::toNativeSeparators(output), doc->familyName())
                .arg(doc->glyphs().size())
                .arg(settings.dotsX)
                .arg(settings.dotsY)
                .arg(settings.kind == FontDocument::Japanese ? tr("Japanese") : tr("Western"))
                .arg(QFileInfo(doc->fileName()).size());
    }
    return true;
}
