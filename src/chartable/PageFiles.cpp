#include "chartable/PageFiles.h"

#include "chartable/GlyphStore.h"
#include "chartable/TableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool fail(QString* error, const QString& fileName, const QString& reason)
{
    if (error)
        *error = QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()) + u'\n' + reason;
    return false;
}

bool present(const QString& fileName)
{
    const QFileInfo info(fileName);
    return info.exists() || info.isSymLink();
}

} // namespace

PageFiles::PageFiles()
{
    m_onDisk.fill(Unknown);
}

QString PageFiles::fileName(const QString& tablePath, int page)
{
    const QFileInfo info(tablePath);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    const QString lead = QString::number(page, 16).toUpper().rightJustified(2, u'0');
    // The folder as the table's name gives it, none included.
    return tablePath.left(tablePath.lastIndexOf(u'/') + 1) + info.completeBaseName() + u'.' + lead +
           suffix;
}

PageFiles::Loaded PageFiles::load(GlyphStore& store, const QString& tablePath)
{
    Loaded loaded;
    m_tablePath = QFileInfo(tablePath).absoluteFilePath();
    m_onDisk.fill(Unknown);
    for (int page : GlyphStore::allPages()) {
        if (page == GlyphStore::SingleBytePage)
            continue;
        const QString name = fileName(tablePath, page);
        if (!present(name))
            continue;
        QString reason;
        const std::optional<QImage> picture = TableFile::readAsStored(name, &reason);
        if (!picture) {
            loaded.unreadable.append(QFileInfo(name).absoluteFilePath());
            loaded.reasons.append(reason);
            continue;
        }
        store.setPage(page, *picture);
        m_onDisk[size_t(page)] = store.revision(page);
        loaded.pages.append(page);
    }
    return loaded;
}

bool PageFiles::save(GlyphStore& store, const QString& tablePath, QString* error)
{
    const QString absolute = QFileInfo(tablePath).absoluteFilePath();
    if (absolute != m_tablePath) {
        m_tablePath = absolute;
        m_onDisk.fill(Unknown);
    }
    for (int page : GlyphStore::allPages()) {
        if (page == GlyphStore::SingleBytePage)
            continue;
        const QString name = fileName(tablePath, page);
        quint64& onDisk = m_onDisk[size_t(page)];
        // Only pages with a pixel are ever written: one unchanged since is there as it is.
        if (onDisk == store.revision(page) && store.hasPage(page) && present(name))
            continue;
        // Only a page that changed can have become blank: the others are not looked through.
        if (store.dropIfBlank(page) || !store.hasPage(page)) {
            QFile file(name);
            if (present(name) && !file.remove())
                return fail(error, name, file.errorString());
            onDisk = Unknown;
            continue;
        }
        QString reason;
        if (!TableFile::write(store.page(page), name, &reason))
            return fail(error, name, reason);
        onDisk = store.revision(page);
    }
    return true;
}
