// The whole-table operations of the main window, the switch that shows the table panel, the
// panel's code selection and the table file.  The operations and the selection act on the page
// of the glyph store that the panel shows (Form1_Pages.cpp).

#include "app/Form1.h"

#include "app/Form2.h"
#include "app/ProgramFiles.h"
#include "app/Prompt.h"
#include "chartable/CharTable.h"
#include "chartable/TableFile.h"
#include "chartable/TableHistory.h"
#include "codes/CodeText.h"
#include "editor/DotCanvas.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <algorithm>

QString Form1::wholePageQuestion(const QString& single, const QString& named) const
{
    const int page = currentPage();
    return page == GlyphStore::SingleBytePage ? single : named.arg(GlyphStore::pageName(page));
}

void Form1::CommandAllClear_Click()
{
    if (!m_prompt->ask(wholePageQuestion(tr("すべての文字をクリアしても良いですか？"),
                                         tr("%1 のすべての文字をクリアしても良いですか？"))))
        return;
    const int page = currentPage();
    const QRect whole(0, 0, CharTable::Size, CharTable::Size);
    const PixelBlock before = beginStep(page, whole);
    CharTable::clearAll(m_store.pageForWrite(page));
    mirror(page, whole);
    endStep(tr("AllClr"), -1, before, page);
    QCoreApplication::processEvents();
    drawGrid();
}

void Form1::CommandAllFill_Click()
{
    if (!m_prompt->ask(wholePageQuestion(tr("すべての文字をフィルしても良いですか？"),
                                         tr("%1 のすべての文字をフィルしても良いですか？"))))
        return;
    const int page = currentPage();
    const QRect whole(0, 0, CharTable::Size, CharTable::Size);
    const PixelBlock before = beginStep(page, whole);
    // The table's colours are fixed to black on white, so a fill always gives set dots.
    CharTable::fillAll(m_store.pageForWrite(page));
    mirror(page, whole);
    endStep(tr("AllFil"), -1, before, page);
    QCoreApplication::processEvents();
    drawGrid();
}

void Form1::CommandAllRev_Click()
{
    // The single-byte table is inverted unasked; a double-byte page, where the inversion fills
    // hundreds of cells never drawn, after a question.
    const int page = currentPage();
    if (page != GlyphStore::SingleBytePage &&
        !m_prompt->ask(wholePageQuestion({}, tr("%1 のすべての文字を反転しても良いですか？"))))
        return;
    closeStroke();
    const QRect whole(0, 0, CharTable::Size, CharTable::Size);
    CharTable::invertAll(m_store.pageForWrite(page));
    mirror(page, whole);
    recordInverted(tr("AllRev"), -1, whole, page);
    QCoreApplication::processEvents();
    drawGrid();
}

QList<QWidget*> Form1::tablePanelWidgets() const
{
    QList<QWidget*> panel;
    for (QWidget* w : m_client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->x() >= EditorWidth)
            panel.append(w);
    }
    return panel;
}

void Form1::CheckChrTbl_Click()
{
    // The window is 1024 or 502 pixels wide outside a 3-pixel frame: the client area is either
    // whole or ends where the table panel begins.  The panel's controls are hidden with it, so
    // that the keyboard cannot reach what cannot be seen.
    const bool shown = CheckChrTbl->isChecked();
    m_client->setFixedWidth(shown ? ClientWidth : EditorWidth);
    for (QWidget* w : tablePanelWidgets())
        w->setVisible(shown);
    layout()->activate();
    if (shown)
        PictureBuf->refresh();
}

void Form1::mnutable_Click()
{
    // Setting the box runs CheckChrTbl_Click through its change signal.
    CheckChrTbl->setChecked(!CheckChrTbl->isChecked());
}

void Form1::PictureBuf_MouseDown(qint16 Button, qint16, float X, float Y)
{
    if (Button != 1)
        return;
    const int page = currentPage();
    if (page == GlyphStore::SingleBytePage) {
        goToCode(CharTable::codeAt(X, Y));
        return;
    }
    // A cell of a double-byte page whose trail byte makes no code selects nothing.
    const int code = GlyphStore::codeAt(page, X, Y);
    if (GlyphStore::pageOf(code) == page)
        goToCode(code);
}

void Form1::goToCode(qint32 code)
{
    // Control codes have no glyph: a click in the top two rows selects the space.
    char_ = std::max(code, 32);
    if (refCanvas)
        refCanvas->clear();
    QCoreApplication::processEvents();
    // The code echo moves the font server to the code as well.
    drawGrid();
}

void Form1::PictureBuf_MouseMove(qint16, qint16, float X, float Y)
{
    const int page = currentPage();
    if (page == GlyphStore::SingleBytePage) {
        LabelCurChar->setText(CodeText::caption(CharTable::codeAt(X, Y), m_codePage));
        m_labelNamesPage = false;
        return;
    }
    // A drag beyond a double-byte page names the page, as the pointer outside it does.
    const int code = GlyphStore::codeAt(page, X, Y);
    LabelCurChar->setText(code < 0 ? GlyphStore::pageName(page)
                                   : CodeText::caption(code, m_codePage));
    m_labelNamesPage = code < 0;
}

bool Form1::loadTable(const QString& fileName, QString* error, QSize* size)
{
    const std::optional<QImage> picture = TableFile::read(fileName, error);
    if (!picture)
        return false;
    if (size)
        *size = picture->size();
    // Through the staging surface: of a picture of another size the table takes what fits,
    // and the surface's background where the picture does not reach.
    DotCanvas* staging = form2->PictureRefChar;
    staging->clear();
    staging->copyFrom(*picture, picture->rect(), QPoint(0, 0));
    QCoreApplication::processEvents();
    const QRect whole(0, 0, CharTable::Size, CharTable::Size);
    const PixelBlock before = beginStep(GlyphStore::SingleBytePage, whole);
    m_store.setPage(GlyphStore::SingleBytePage, staging->image().copy(whole));
    mirror(GlyphStore::SingleBytePage, whole);
    endStep(tr("load"), -1, before, GlyphStore::SingleBytePage);
    staging->clear();
    return true;
}

QString Form1::tableFilePath() const
{
    return ProgramFiles::tableFileName(TextBufFileName->text(), tableFolder);
}

void Form1::loadTableAtStart()
{
    const QScopedValueRollback loading(m_loadingTable, true);
    const QString fileName = ProgramFiles::startTableFile(TextBufFileName->text(), tableFolder);
    QSize size;
    const bool loaded = loadTable(fileName, nullptr, &size);
    // A picture the table cannot hold whole, or none at all, is not written over unasked.
    m_unreadTableLarger =
        loaded && (size.width() > CharTable::Size || size.height() > CharTable::Size);
    if (!loaded || m_unreadTableLarger)
        m_unreadTable = TableFile::identity(fileName);
    loadPagesAtStart(fileName);
    if (loaded && fileName != tableFilePath()) {
        m_prompt->inform(tr("キャラクタテーブルを %1 から読み込みました。これからは次のファイルに"
                            "保存します")
                             .arg(QDir::toNativeSeparators(fileName)) +
                         u'\n' + QDir::toNativeSeparators(tableFilePath()));
    }
    // The history starts from the table as read: undoing its load would leave an empty table
    // for the auto-save at exit to write over the file.
    m_history->clear();
    form2->PictureRefChar->setCanvasSize(QSize(Form2::ActivatedSide, Form2::ActivatedSide));
    QCoreApplication::processEvents();
}

bool Form1::saveTable(QString* message)
{
    if (m_loadingTable)
        return true;
    const QString fileName = tableFilePath();
    // The user's own folder may not be there yet; any other folder is the user's to make.
    if (QDir::isRelativePath(TextBufFileName->text()) && !tableFolder.isEmpty())
        QDir().mkpath(tableFolder);
    QString reason;
    if (keepUnreadTableAside(fileName, &reason) &&
        TableFile::write(m_store.page(GlyphStore::SingleBytePage), fileName, &reason) &&
        savePages(fileName, &reason))
        return true;
    if (message) {
        *message = tr("キャラクタテーブルを保存できませんでした") + u'\n' +
                   QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()) + u'\n' +
                   reason;
    }
    return false;
}

bool Form1::keepUnreadTableAside(const QString& fileName, QString* reason)
{
    if (!m_unreadTable || TableFile::identity(fileName) != m_unreadTable)
        return true;
    // The file itself, where a link leads: the link then leads to the new table.
    const QString real = QFileInfo(fileName).canonicalFilePath();
    const QString aside = TableFile::asideName(real);
    QFile file(real);
    if (!file.rename(aside)) {
        *reason = tr("起動時に読み込めなかったファイルを別の名前で残せませんでした: %1")
                      .arg(file.errorString());
        return false;
    }
    m_unreadTable.reset();
    m_prompt->inform((m_unreadTableLarger
                          ? tr("起動時に読み込んだキャラクタテーブルの絵は表より大きいため、"
                               "上書きせずに次の名前で残しました")
                          : tr("起動時に読み込めなかったキャラクタテーブルのファイルは、上書き"
                               "せずに次の名前で残しました")) +
                     u'\n' + QDir::toNativeSeparators(aside));
    return true;
}

void Form1::CommandSave_Click()
{
    QString message;
    if (saveTable(&message))
        say(StatusText::tableSaved(tableFilePath()));
    else
        m_prompt->inform(message);
}

void Form1::mnusave_Click()
{
    CommandSave_Click();
}

bool Form1::autoSaveTable()
{
    if (!CheckAutoSave->isChecked())
        return true;
    // Closing after a failed save would lose every glyph since the last one: the user decides.
    QString message;
    if (saveTable(&message))
        return true;
    return m_prompt->ask(message + QStringLiteral("\n\n") + tr("保存しないで終了しますか？"));
}
