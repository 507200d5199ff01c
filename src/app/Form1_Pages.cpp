// The pages of the glyph store in the main window: the page the panel shows, the stepping from
// page to page, and the pages' files beside the table file.

#include "app/Form1.h"

#include "app/Prompt.h"
#include "chartable/CharTable.h"
#include "chartable/TableFile.h"
#include "editor/DotCanvas.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <algorithm>

int Form1::currentPage() const
{
    return std::max(GlyphStore::pageOf(char_), GlyphStore::SingleBytePage);
}

void Form1::placeCell()
{
    // A code without a cell gets the single-byte table's arithmetic, which puts it below the
    // table: its dots read clear and take no writes.
    const QRect cell = GlyphStore::cellRect(char_);
    const QPoint origin = cell.isEmpty() ? CharTable::cellOrigin(char_) : cell.topLeft();
    bufX = origin.x();
    bufY = origin.y();
    // The panel shows the code's page: its cell is marked there, over the page, along the cell
    // lines (the last two rows and columns of a cell, which a glyph rarely reaches), within
    // the panel at its edges.
    const QRect mark = cell.isEmpty() ? QRect() : cell.adjusted(-2, -2, 0, 0);
    PictureBuf->setMark(mark.translated(std::max(0, -mark.left()), std::max(0, -mark.top())),
                        QColor(30, 110, 220, 190));
}

void Form1::showPage()
{
    const int page = currentPage();
    const bool turned = page != m_viewPage;
    if (!turned && m_store.revision(page) == m_viewRevision)
        return;
    // Shared, not copied: the store copies the page on its next write, once.
    PictureBuf->image() = m_store.page(page);
    m_viewPage = page;
    m_viewRevision = m_store.revision(page);
    PictureBuf->refresh();
    if (turned)
        namePage();
}

void Form1::mirror(int page, const QRect& rect)
{
    if (page != m_viewPage)
        return;
    PictureBuf->copyFrom(m_store.page(page), rect, rect.topLeft());
    m_viewRevision = m_store.revision(page);
}

void Form1::namePage()
{
    if (m_viewPage != GlyphStore::SingleBytePage) {
        if (!PictureBuf->underMouse()) {
            LabelCurChar->setText(GlyphStore::pageName(m_viewPage));
            m_labelNamesPage = true;
        }
    } else if (m_labelNamesPage) {
        // The single-byte table's read-out stays where the pointer left it; a page's name
        // would mislead there.
        LabelCurChar->setText(QStringLiteral("-"));
        m_labelNamesPage = false;
    }
}

QList<int> Form1::heldPages() const
{
    // A Japanese font holds every code of code page 932, a Western one the single bytes.
    return fontKind == 2 ? GlyphStore::allPages() : QList<int>{GlyphStore::SingleBytePage};
}

qint32 Form1::codeOnPage(int page) const
{
    const int trail = char_ & 0xFF;
    const qint32 same = page == GlyphStore::SingleBytePage ? trail : page * 256 + trail;
    if (GlyphStore::pageOf(same) == page && same >= 32)
        return same;
    if (page == GlyphStore::SingleBytePage)
        return 32;
    for (int cell = 0; cell <= 0xFF; ++cell) {
        if (GlyphStore::pageOf(page * 256 + cell) == page)
            return page * 256 + cell;
    }
    return page * 256;
}

void Form1::stepPage(int direction)
{
    const QList<int> pages = heldPages();
    const int current = currentPage();
    const auto next = direction > 0 ? std::upper_bound(pages.begin(), pages.end(), current)
                                    : std::lower_bound(pages.begin(), pages.end(), current);
    if (direction > 0 ? next == pages.end() : next == pages.begin())
        return;
    goToCode(codeOnPage(direction > 0 ? *next : *(next - 1)));
}

void Form1::mnuprevpage_Click()
{
    stepPage(-1);
}

void Form1::mnunextpage_Click()
{
    stepPage(1);
}

bool Form1::panelKeyEvent(QObject* watched, QEvent* event)
{
    if (watched != PictureBuf)
        return false;
    if (event->type() == QEvent::Leave) {
        namePage();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() != Qt::NoModifier && key->modifiers() != Qt::KeypadModifier)
        return false;
    if (key->key() == Qt::Key_PageUp)
        mnuprevpage_Click();
    else if (key->key() == Qt::Key_PageDown)
        mnunextpage_Click();
    else
        return false;
    return true;
}

void Form1::loadPagesAtStart(const QString& tableFile)
{
    // As the table file: what cannot be read is passed over without a word, and kept aside
    // by the first save rather than written over.
    unreadPageFiles = m_pageFiles.load(m_store, tableFile).unreadable;
}

bool Form1::savePages(const QString& tableFile, QString* reason)
{
    QStringList aside;
    for (int page : GlyphStore::allPages()) {
        if (page == GlyphStore::SingleBytePage)
            continue;
        const QString fileName = PageFiles::fileName(tableFile, page);
        const QString absolute = QFileInfo(fileName).absoluteFilePath();
        if (!unreadPageFiles.contains(absolute))
            continue;
        if (QFileInfo::exists(fileName)) {
            const QString name = TableFile::asideName(fileName);
            QFile file(fileName);
            if (!file.rename(name)) {
                *reason = tr("起動時に読み込めなかったファイルを別の名前で残せませんでした: %1")
                              .arg(file.errorString()) +
                          u'\n' + QDir::toNativeSeparators(absolute);
                return false;
            }
            aside.append(QDir::toNativeSeparators(QFileInfo(name).absoluteFilePath()));
        }
        unreadPageFiles.removeAll(absolute);
    }
    if (!aside.isEmpty()) {
        m_prompt->inform(tr("起動時に読み込めなかった2バイト文字のファイルは、上書きせずに"
                            "次の名前で残しました") +
                         u'\n' + aside.join(u'\n'));
    }
    return m_pageFiles.save(m_store, tableFile, reason);
}
