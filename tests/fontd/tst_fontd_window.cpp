// The server's window, in-process on the offscreen platform: the title, the grid of glyphs
// with the current code marked, the File menu with its dialogs, and that it follows what
// arrives over D-Bus.

#include "DotBitmap.h"
#include "HostileFont.h"
#include "fontd/DocumentObject.h"
#include "fontd/FontPropertiesDialog.h"
#include "fontd/FontServer.h"
#include "fontd/FontWindow.h"
#include "fontd/GlyphGridView.h"

#include <QAction>
#include <QApplication>
#include <QDBusConnection>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {
// Answers the next message box when it appears, from inside its own event loop.  The poll
// belongs to owner, so that it cannot outlive the test that set it up.
void whenMessageBoxOpens(QObject* owner, std::function<void(QMessageBox*)> answer)
{
    auto* poll = new QTimer(owner);
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->stop();
        poll->deleteLater();
        answer(box);
    });
    poll->start();
}
} // namespace

class TestFontdWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void titleWithoutDocument();
    void newFontsFromTheMenu();
    void titleMarksUnsavedChanges();
    void currentCodeIsMarkedAndVisible();
    void glyphOutlineIsDrawn();
    void onlyVisibleCellsArePainted();
    void clickingACellSelectsItsCode();
    void saveAsThroughTheDialog();
    void dialogsStartInTheDocumentsFolder();
    void openErrorIsShown();
    void saveErrorIsShown();
    void closingWithUnsavedChangesAsks();
    void followsDocumentsOpenedElsewhere();
    void hwndAnswersTheWindow();
    void propertiesAndWebFont();
    void statusBarTellsTheFont();

private:
    QString importGlyph(DocumentObject* document, int code, const DotBitmap& bitmap);
    // Colour of the viewport pixel at a point of content coordinates.
    QColor shownAt(const QPoint& contentPoint);

    QTemporaryDir m_dir;
    // Parent of everything a test leaves waiting for a dialog.
    std::unique_ptr<QObject> m_pending;
    std::unique_ptr<FontServer> m_server;
    std::unique_ptr<FontWindow> m_window;
};

void TestFontdWindow::init()
{
    m_pending = std::make_unique<QObject>();
    m_server = std::make_unique<FontServer>(QDBusConnection::sessionBus());
    QString error;
    QVERIFY2(m_server->registerObjects(&error), qPrintable(error));
    m_window = std::make_unique<FontWindow>(*m_server);
    m_window->resize(640, 480);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestFontdWindow::cleanup()
{
    m_pending.reset();
    m_window.reset();
    m_server.reset();
}

QString TestFontdWindow::importGlyph(DocumentObject* document, int code, const DotBitmap& bitmap)
{
    const QString file = m_dir.filePath(QStringLiteral("w%1.bmp").arg(code));
    if (!bitmap.write(file) || !document->selectCode(code))
        return {};
    document->ImportBmpfile(file);
    return file;
}

QColor TestFontdWindow::shownAt(const QPoint& contentPoint)
{
    GlyphGridView* grid = m_window->gridView();
    const QImage image = grid->viewport()->grab().toImage();
    const QPoint point = contentPoint - QPoint(0, grid->verticalScrollBar()->value());
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(point * ratio);
}

void TestFontdWindow::titleWithoutDocument()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("pointillo-fontd"));
    QVERIFY(!m_window->saveAction()->isEnabled());
    QVERIFY(!m_window->saveAsAction()->isEnabled());
    QVERIFY(m_window->newWesternAction()->isEnabled());
}

void TestFontdWindow::newFontsFromTheMenu()
{
    m_window->newWesternAction()->trigger();
    QCOMPARE(m_server->documents().size(), 1);
    QVERIFY(m_window->windowTitle().contains(QStringLiteral("(Western)")));
    QCOMPARE(m_window->gridView()->gridLayout().cellCount(), 224);

    m_window->newJapaneseAction()->trigger();
    QCOMPARE(m_server->documents().size(), 2);
    QCOMPARE(m_server->activeDocument(), m_server->documents().constLast());
    QVERIFY(m_window->windowTitle().contains(QStringLiteral("(Japanese)")));
    QVERIFY(m_window->gridView()->gridLayout().cellCount() > 7000);
    QVERIFY(m_window->saveAction()->isEnabled());
}

void TestFontdWindow::titleMarksUnsavedChanges()
{
    DocumentObject* document = m_server->newDocument(FontDocument::Western);
    QVERIFY(document);
    QVERIFY(m_window->windowTitle().startsWith(QStringLiteral("Untitled[*]")));
    QVERIFY(!m_window->isWindowModified());
    QVERIFY(!importGlyph(document, 0x41, DotBitmap({"#.#"}, 40)).isEmpty());
    QVERIFY(m_window->isWindowModified());

    const QString file = m_dir.filePath(QStringLiteral("title.ttf"));
    QString error;
    QVERIFY2(document->saveFileAs(file, &error), qPrintable(error));
    QVERIFY(!m_window->isWindowModified());
    QVERIFY(m_window->windowTitle().startsWith(QStringLiteral("title.ttf[*]")));
}

void TestFontdWindow::currentCodeIsMarkedAndVisible()
{
    DocumentObject* document = m_server->newDocument(FontDocument::Japanese);
    GlyphGridView* grid = m_window->gridView();
    const QColor background =
        shownAt(grid->gridLayout().cellRect(grid->indexOfCode(0x41)).topLeft() + QPoint(4, 4));
    // Far down the font: the view scrolls to it.
    QVERIFY(document->selectCode(0x889F));
    const int index = grid->indexOfCode(0x889F);
    QVERIFY(index > 0);
    const QRect cell = grid->gridLayout().cellRect(index);
    const int top = grid->verticalScrollBar()->value();
    QVERIFY(cell.top() >= top);
    QVERIFY(cell.bottom() < top + grid->viewport()->height());
    // Its cell is filled with the highlight, others are not.
    const QColor marked = shownAt(cell.topLeft() + QPoint(4, 4));
    QVERIFY(marked != background);
    QVERIFY(document->selectCode(0x88A0));
    QVERIFY(shownAt(cell.topLeft() + QPoint(4, 4)) != marked);
}

void TestFontdWindow::glyphOutlineIsDrawn()
{
    DocumentObject* document = m_server->newDocument(FontDocument::Western);
    GlyphGridView* grid = m_window->gridView();
    // Every dot set: the whole grid is ink, so the middle of the glyph box must be dark.
    QVERIFY(!importGlyph(document, 0x42, DotBitmap(QStringList(4, QStringLiteral("####")), 120))
                 .isEmpty());
    QVERIFY(document->selectCode(0x43));
    const QRect inked =
        GlyphGridLayout::glyphBox(grid->gridLayout().cellRect(grid->indexOfCode(0x42)));
    const QRect empty =
        GlyphGridLayout::glyphBox(grid->gridLayout().cellRect(grid->indexOfCode(0x44)));
    const QPoint probe(inked.width() / 3, inked.height() / 3);
    QVERIFY(shownAt(inked.topLeft() + probe).lightness() < 80);
    QVERIFY(shownAt(empty.topLeft() + probe).lightness() > 170);

    // Emptied again, it shows nothing.
    QVERIFY(document->selectCode(0x42));
    document->selectall();
    document->Delete();
    QVERIFY(shownAt(inked.topLeft() + probe).lightness() > 170);
}

void TestFontdWindow::onlyVisibleCellsArePainted()
{
    DocumentObject* document = m_server->newDocument(FontDocument::Japanese);
    GlyphGridView* grid = m_window->gridView();
    QVERIFY(document->selectCode(0xEAA4));
    grid->viewport()->repaint();
    const GlyphGridLayout& layout = grid->gridLayout();
    const int rowsShown = grid->viewport()->height() / GlyphGridLayout::CellHeight + 2;
    QVERIFY(grid->lastPaintedCells() > 0);
    QVERIFY2(grid->lastPaintedCells() <= rowsShown * layout.columns(),
             qPrintable(QString::number(grid->lastPaintedCells())));
}

void TestFontdWindow::clickingACellSelectsItsCode()
{
    DocumentObject* document = m_server->newDocument(FontDocument::Western);
    GlyphGridView* grid = m_window->gridView();
    const QRect cell = grid->gridLayout().cellRect(grid->indexOfCode(0x45));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      cell.center() - QPoint(0, grid->verticalScrollBar()->value()));
    QCOMPARE(document->document().currentCode(), 0x45);
    QCOMPARE(document->getcode(0, false), short(0x45));
}

void TestFontdWindow::saveAsThroughTheDialog()
{
    DocumentObject* document = m_server->newDocument(FontDocument::Western);
    QVERIFY(!importGlyph(document, 0x41, DotBitmap({"##"}, 40)).isEmpty());
    const QString file = m_dir.filePath(QStringLiteral("dialog.ttf"));
    QList<std::pair<bool, QString>> asked;
    m_window->setFileChooser([&asked, file](QWidget*, bool save, const QString& start) {
        asked.append({save, start});
        return file;
    });
    // Untitled: Save asks for a name, like Save As, and proposes the name a D-Bus save
    // would pick.
    const QString proposed = document->document().untitledFileName();
    m_window->saveAction()->trigger();
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked[0].first);
    QCOMPARE(asked[0].second, proposed);
    QCOMPARE(document->document().fileName(), QFileInfo(file).absoluteFilePath());
    QVERIFY(QFileInfo(file).isFile());
    QVERIFY(document->document().isSaved());
    QVERIFY(m_window->windowTitle().startsWith(QStringLiteral("dialog.ttf")));

    // Titled: Save writes at once, Save As asks again, starting at the file.
    QVERIFY(!importGlyph(document, 0x42, DotBitmap({"#"}, 40)).isEmpty());
    m_window->saveAction()->trigger();
    QCOMPARE(asked.size(), 1);
    QVERIFY(document->document().isSaved());
    m_window->saveAsAction()->trigger();
    QCOMPARE(asked.size(), 2);
    QCOMPARE(asked[1].second, QFileInfo(file).absoluteFilePath());

    // A cancelled dialog changes nothing.
    QVERIFY(!importGlyph(document, 0x43, DotBitmap({"#"}, 40)).isEmpty());
    m_window->setFileChooser([](QWidget*, bool, const QString&) { return QString(); });
    m_window->saveAsAction()->trigger();
    QVERIFY(!document->document().isSaved());
    QCOMPARE(document->document().fileName(), QFileInfo(file).absoluteFilePath());
}

void TestFontdWindow::dialogsStartInTheDocumentsFolder()
{
    // D-Bus starts the server in /: the dialogs start in the documents folder, made when it is
    // missing, and Open proposes no file.  (The setting stays for the run: gone with this test,
    // it leaves the default folder to the others.)
    QTemporaryDir config;
    const QString documents = m_dir.filePath(QStringLiteral("no documents yet"));
    QFile dirs(config.filePath(QStringLiteral("user-dirs.dirs")));
    QVERIFY(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_DOCUMENTS_DIR=\"" + documents.toUtf8() + "\"\n");
    dirs.close();
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QStringList starts;
    m_window->setFileChooser([&starts](QWidget*, bool, const QString& start) {
        starts << start;
        return QString();
    });
    m_window->openAction()->trigger();
    m_server->newDocument(FontDocument::Western);
    m_window->saveAsAction()->trigger();
    QCOMPARE(starts, (QStringList{documents, documents + "/Pointillo Western 1.ttf"}));
    QVERIFY(QFileInfo(documents).isDir());
}

void TestFontdWindow::openErrorIsShown()
{
    const QString garbage = m_dir.filePath(QStringLiteral("garbage.ttf"));
    QFile file(garbage);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(300, 'x'));
    file.close();

    m_window->setFileChooser(
        [garbage](QWidget*, bool save, const QString&) { return save ? QString() : garbage; });
    QString shown;
    whenMessageBoxOpens(m_pending.get(), [&shown](QMessageBox* box) {
        shown = box->text();
        box->accept();
    });
    m_window->openAction()->trigger();
    QVERIFY2(shown.contains(garbage), qPrintable(shown));
    QVERIFY(m_server->documents().isEmpty());
}

void TestFontdWindow::saveErrorIsShown()
{
    DocumentObject* document = m_server->newDocument(FontDocument::Western);
    QVERIFY(!importGlyph(document, 0x41, DotBitmap({"#"}, 40)).isEmpty());
    const QString target = m_dir.filePath(QStringLiteral("no/such/folder/x.ttf"));
    m_window->setFileChooser([target](QWidget*, bool, const QString&) { return target; });
    QString shown;
    whenMessageBoxOpens(m_pending.get(), [&shown](QMessageBox* box) {
        shown = box->text();
        box->accept();
    });
    m_window->saveAsAction()->trigger();
    QVERIFY2(shown.contains(target), qPrintable(shown));
    QVERIFY(!document->document().isSaved());
    QVERIFY(m_window->isWindowModified());
}

void TestFontdWindow::closingWithUnsavedChangesAsks()
{
    DocumentObject* document = m_server->newDocument(FontDocument::Western);
    QVERIFY(!importGlyph(document, 0x41, DotBitmap({"#"}, 40)).isEmpty());

    QString question;
    whenMessageBoxOpens(m_pending.get(), [&question](QMessageBox* message) {
        question = message->text();
        message->button(QMessageBox::Cancel)->click();
    });
    QVERIFY(!m_window->close());
    QVERIFY(question.contains(QStringLiteral("Untitled")));
    QVERIFY(m_window->isVisible());
    QCOMPARE(m_server->documents().size(), 1);

    whenMessageBoxOpens(m_pending.get(), [](QMessageBox* message) {
        message->button(QMessageBox::Discard)->click();
    });
    QVERIFY(m_window->close());
}

void TestFontdWindow::followsDocumentsOpenedElsewhere()
{
    DocumentObject* first = m_server->newDocument(FontDocument::Western);
    QVERIFY(!importGlyph(first, 0x41, DotBitmap({"#"}, 40)).isEmpty());
    QString error;
    QVERIFY(first->saveFileAs(m_dir.filePath(QStringLiteral("first.ttf")), &error));
    DocumentObject* second = m_server->newDocument(FontDocument::Japanese);
    QCOMPARE(m_window->gridView()->document(), second);
    QVERIFY(m_window->windowTitle().contains(QStringLiteral("(Japanese)")));
    // Closed over D-Bus: the window falls back to the other font.
    second->Close();
    QCOMPARE(m_window->gridView()->document(), first);
    QVERIFY(m_window->windowTitle().startsWith(QStringLiteral("first.ttf")));
    first->Close();
    QCOMPARE(m_window->gridView()->document(), nullptr);
    QCOMPARE(m_window->windowTitle(), QStringLiteral("pointillo-fontd"));
}

void TestFontdWindow::hwndAnswersTheWindow()
{
    QCOMPARE(m_server->hwnd(), 0);
    FontWindow* window = m_window.get();
    m_server->setWindowIdSource([window] { return qint32(quint32(window->winId())); });
    QVERIFY(m_server->hwnd() != 0);
    QCOMPARE(m_server->hwnd(), qint32(quint32(m_window->winId())));
}

void TestFontdWindow::propertiesAndWebFont()
{
    DocumentObject* document = m_server->newDocument(FontDocument::Western);
    QVERIFY(!importGlyph(document, 0x41, DotBitmap({"##"}, 40)).isEmpty());
    QVERIFY(m_window->propertiesAction()->isEnabled());
    const auto answerDialog = [this](bool accept) {
        auto* poll = new QTimer(m_pending.get());
        poll->setInterval(20);
        connect(poll, &QTimer::timeout, poll, [poll, accept] {
            auto* dialog = qobject_cast<FontPropertiesDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            poll->stop();
            QCOMPARE(dialog->familyEdit()->placeholderText(), QStringLiteral("Pointillo Western"));
            dialog->familyEdit()->setText(QStringLiteral("My Pixel"));
            dialog->styleEdit()->setText(QStringLiteral("bold"));
            dialog->versionEdit()->clear();
            dialog->copyrightEdit()->setText(QStringLiteral("(c) 2024 Me"));
            accept ? dialog->accept() : dialog->reject();
        });
        poll->start();
    };

    // Cancel keeps the names; OK takes them, an empty version as the default one.
    const FontNames before = document->document().names();
    answerDialog(false);
    m_window->propertiesAction()->trigger();
    QCOMPARE(document->document().names(), before);
    answerDialog(true);
    m_window->propertiesAction()->trigger();
    QCOMPARE(document->document().names(),
             (FontNames{"My Pixel", "Bold", "Version 1.000", "(c) 2024 Me"}));
    QVERIFY(m_window->isWindowModified());

    // Saved as a web font under another name, the font keeps the family it was given.
    const QString file = m_dir.filePath(QStringLiteral("web.woff2"));
    m_window->setFileChooser([file](QWidget*, bool, const QString&) { return file; });
    m_window->saveAsAction()->trigger();
    QVERIFY(document->document().isSaved());
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.read(4), QByteArray("wOF2"));
    QCOMPARE(FontDocument::open(file)->names(), document->document().names());
}

void TestFontdWindow::statusBarTellsTheFont()
{
    // The character of the font's own code page; a damaged character map costs only its part,
    // which the window names.
    QVERIFY(m_server->newDocument(FontDocument::Western)->selectCode(0xC9));
    QVERIFY(m_window->statusBar()->currentMessage().startsWith(QStringLiteral("Code C9 É ")));
    QVERIFY(m_server->newDocument(FontDocument::Japanese)->selectCode(0xC9));
    QVERIFY(m_window->statusBar()->currentMessage().startsWith(QStringLiteral("Code C9 ﾉ ")));
    using Fault = HostileFont::CmapFault;
    for (const auto& [fault, codes, warning] :
         {std::tuple(Fault::RecordBeyondCmap, QList{0x41, 0x42, 0x43}, "encoding 1 lies beyond"),
          std::tuple(Fault::WildSegment, QList{0x50, 0x52, 0x60, 0x62},
                     "codes 0x41-0x43 outside")}) {
        QVERIFY(!m_window->readWarningsLabel()->isVisible());
        std::unique_ptr<FontDocument> font =
            FontDocument::fromTrueType(HostileFont::damagedCmap(fault));
        QVERIFY(font);
        QCOMPARE(m_server->addDocument(std::move(font))->GlyphCodes(), codes);
        QVERIFY(m_window->readWarningsLabel()->isVisible());
        QVERIFY(m_window->readWarningsLabel()->toolTip().contains(QLatin1String(warning)));
        m_window->newWesternAction()->trigger();
    }
}

QTEST_MAIN(TestFontdWindow)
#include "tst_fontd_window.moc"
