#include "chartable/CharTable.h"
#include "chartable/GlyphStore.h"
#include "chartable/TableFile.h"
#include "chartable/TableHistory.h"
#include "common/Form1Fixture.h"
#include "common/SampleTable.h"
#include "editor/DotCanvas.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QtEndian>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
constexpr QRgb Black = 0xff000000;
constexpr QRgb White = 0xffffffff;
constexpr QRgb Red = 0xffff0000;

QImage saved(const char* name)
{
    return TableFile::read(QLatin1String(name)).value_or(QImage());
}

QByteArray bmp(const QImage& image)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return data;
}
} // namespace

class TestForm1Table : public QObject, private Form1Fixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void wholeTable_data();
    void wholeTable();
    void fillThenInvertGivesWhite();
    void invertTwiceRestores();
    void gridLinesStay();
    void panelWidth();
    void menuTogglesThePanel();
    void ctrlCTogglesOutsideTextBoxes();
    void ctrlCInATextBoxCopies();

    void panelMouse_data();
    void panelMouse();
    void pageSteps_data();
    void pageSteps();
    void savedGlyphsComeBack();
    void pagesComeBack();
    void startWithAFile_data();
    void startWithAFile();
    void startFromAnOlderFolder();
    void failedSave_data();
    void failedSave();

private:
    QRgb canvasDot(int x, int y) const;
};

void TestForm1Table::init()
{
    // A font is open: the code boxes ask nothing.
    showForm(FakeTTEdit::Kind::Japanese);
    m_form->store().setPage(0, SampleTable::make());
    m_form->drawGrid();
}

void TestForm1Table::cleanup()
{
    destroyForm();
}

QRgb TestForm1Table::canvasDot(int x, int y) const
{
    const Form1& f = *m_form;
    return *f.PictureDOT->pixel(QPoint(f.ofsX + f.nX * x + 1, f.ofsY + f.nY * y + 1));
}

void TestForm1Table::wholeTable_data()
{
    QTest::addColumn<int>("button"); // 0 AllClr, 1 AllFil, 2 AllRev
    QTest::addColumn<QString>("question");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<int>("result"); // 0 unchanged, 1 all white, 2 all black, 3 inverted

    const QString clear = QStringLiteral("すべての文字をクリアしても良いですか？");
    const QString fill = QStringLiteral("すべての文字をフィルしても良いですか？");
    QTest::newRow("AllClr yes") << 0 << clear << true << 1;
    QTest::newRow("AllClr no") << 0 << clear << false << 0;
    QTest::newRow("AllFil yes") << 1 << fill << true << 2;
    QTest::newRow("AllFil no") << 1 << fill << false << 0;
    QTest::newRow("AllRev asks nothing") << 2 << QString() << false << 3;
}

void TestForm1Table::wholeTable()
{
    QFETCH(int, button);
    QFETCH(QString, question);
    QFETCH(bool, yes);
    QFETCH(int, result);
    Form1& f = *m_form;

    QPushButton* target = QList{f.CommandAllClear, f.CommandAllFill, f.CommandAllRev}.at(button);

    const QImage before = f.PictureBuf->image().copy();
    QImage expected;
    switch (result) {
    case 0:
        expected = before;
        break;
    case 1:
        expected = CharTable::blank();
        break;
    case 2:
        expected = CharTable::blank();
        expected.fill(Black);
        break;
    default:
        expected = before.copy();
        expected.invertPixels(QImage::InvertRgb);
        break;
    }

    m_prompt.answer({yes});
    QTest::mouseClick(target, Qt::LeftButton);

    if (question.isEmpty()) {
        QVERIFY(m_prompt.shown().isEmpty());
    } else {
        QCOMPARE(m_prompt.questions(), QStringList{question});
        QVERIFY(!m_prompt.shown().first().systemModal);
        QVERIFY(m_prompt.messages().isEmpty());
    }
    QCOMPARE(f.PictureBuf->image(), expected);
    // The grid shows the current glyph of the changed table.
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 12; ++x) {
            const QRgb cell = expected.pixel(f.bufX + x, f.bufY + y);
            QCOMPARE(canvasDot(x, y), cell);
        }
    }
}

void TestForm1Table::fillThenInvertGivesWhite()
{
    Form1& f = *m_form;
    m_prompt.answer({true});
    f.CommandAllFill_Click();
    QCOMPARE(canvasDot(0, 0), Black);
    f.CommandAllRev_Click();
    QCOMPARE(f.PictureBuf->image(), CharTable::blank());
    QCOMPARE(canvasDot(0, 0), White);
    QCOMPARE(canvasDot(11, 19), White);
}

void TestForm1Table::invertTwiceRestores()
{
    Form1& f = *m_form;
    const QImage before = f.PictureBuf->image().copy();
    f.CommandAllRev_Click();
    QVERIFY(f.PictureBuf->image() != before);
    f.CommandAllRev_Click();
    QCOMPARE(f.PictureBuf->image(), before);
}

void TestForm1Table::gridLinesStay()
{
    Form1& f = *m_form;
    // None of the three rebuilds the grid: a mark in the margin survives.
    f.PictureDOT->setPixel(QPoint(20, 20), Red);
    m_prompt.answer({true, true});
    f.CommandAllFill_Click();
    f.CommandAllClear_Click();
    f.CommandAllRev_Click();
    QCOMPARE(*f.PictureDOT->pixel(QPoint(20, 20)), Red);
    QVERIFY(!f.bRedraw);
}

void TestForm1Table::panelWidth()
{
    Form1& f = *m_form;
    const QList<QWidget*> panel{f.CommandAllClear, f.CommandAllFill,  f.CommandAllRev,
                                f.LabelCurChar,    f.TextBufFileName, f.CommandSave,
                                f.CheckAutoSave,   f.PictureBuf};
    QCOMPARE(f.centralWidget()->width(), Form1::ClientWidth);
    QCOMPARE(f.width(), Form1::ClientWidth);
    for (QWidget* w : panel)
        QVERIFY(w->isVisible());

    QTest::mouseClick(f.CheckChrTbl, Qt::LeftButton);
    QVERIFY(!f.CheckChrTbl->isChecked());
    QCOMPARE(f.width(), Form1::EditorWidth);
    QCOMPARE(f.centralWidget()->height(), Form1::ClientHeight);
    for (QWidget* w : panel)
        QVERIFY2(!w->isVisible(), qPrintable(w->metaObject()->className()));
    // The editor part is whole: its right-most controls end inside the narrow window.
    for (QWidget* w : {static_cast<QWidget*>(f.PictureDOT), static_cast<QWidget*>(f.CommandRev),
                       static_cast<QWidget*>(f.TextFace)}) {
        QVERIFY(w->isVisible());
        QVERIFY(w->geometry().right() < Form1::EditorWidth);
    }

    QTest::mouseClick(f.CheckChrTbl, Qt::LeftButton);
    QCOMPARE(f.width(), Form1::ClientWidth);
    for (QWidget* w : panel)
        QVERIFY(w->isVisible());
    // Right edge of the widest panel control inside the window.
    QVERIFY(f.CommandAllRev->geometry().right() < Form1::ClientWidth);
    QVERIFY(f.PictureBuf->geometry().right() < Form1::ClientWidth);
}

void TestForm1Table::menuTogglesThePanel()
{
    Form1& f = *m_form;
    QVERIFY(f.mnutable->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_C));
    f.mnutable->trigger();
    QVERIFY(!f.CheckChrTbl->isChecked());
    QCOMPARE(f.width(), Form1::EditorWidth);
    f.mnutable->trigger();
    QVERIFY(f.CheckChrTbl->isChecked());
    QCOMPARE(f.width(), Form1::ClientWidth);
    // Applying the box again changes nothing.
    f.CheckChrTbl_Click();
    QCOMPARE(f.width(), Form1::ClientWidth);
}

void TestForm1Table::ctrlCTogglesOutsideTextBoxes()
{
    Form1& f = *m_form;
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QTest::mouseClick(f.PictureDOT, Qt::LeftButton, {}, QPoint(2, 2)); // takes the focus
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.PictureDOT));
    QTest::keyClick(f.PictureDOT, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(!f.CheckChrTbl->isChecked());
    QCOMPARE(f.width(), Form1::EditorWidth);
    QTest::keyClick(f.PictureDOT, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(f.CheckChrTbl->isChecked());
}

void TestForm1Table::ctrlCInATextBoxCopies()
{
    Form1& f = *m_form;
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    f.CheckRefChar->setChecked(true); // the face box is enabled with the reference
    f.TextFace->setText(QStringLiteral("Liberation Sans"));
    f.TextFace->setFocus();
    f.TextFace->selectAll();
    QTest::keyClick(f.TextFace, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(f.CheckChrTbl->isChecked());
    QCOMPARE(f.width(), Form1::ClientWidth);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Liberation Sans"));
}

void TestForm1Table::panelMouse_data()
{
    QTest::addColumn<int>("from"); // the code shown: its page is the panel's
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("code"); // selected by the click
    QTest::addColumn<QString>("caption");

    QTest::newRow("A: column 1, row 4") << 33 << QPoint(33, 159) << Qt::LeftButton << 65 << "41 A";
    QTest::newRow("9") << 33 << QPoint(9 * 32, 31) << Qt::LeftButton << 32 << "CTRL( 9 )";
    QTest::newRow("31") << 33 << QPoint(511, 63) << Qt::LeftButton << 32 << "CTRL( 31 )";
    QTest::newRow("ampersand") << 33 << QPoint(6 * 32, 64) << Qt::LeftButton << 38 << "26 &";
    QTest::newRow("right button") << 33 << QPoint(33, 159) << Qt::RightButton << 33 << "41 A";
    // A double-byte page: its cells are the trail bytes, and outside it the read-out names it.
    QTest::newRow("82xx: i") << 0x82A0 << QPoint(33, 330) << Qt::LeftButton << 0x82A1 << "82xx";
    QTest::newRow("82xx: a cell without a code")
        << 0x82A0 << QPoint(33, 159) << Qt::LeftButton << 0x82A0 << "82xx";
}

void TestForm1Table::panelMouse()
{
    QFETCH(int, from);
    QFETCH(QPoint, at);
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, code);
    QFETCH(QString, caption);
    Form1& f = *m_form;
    f.goToCode(from);
    QTest::mouseMove(f.PictureBuf, at);
    f.refCanvas->setPixel(QPoint(5, 5), Red);
    QTest::mouseClick(f.PictureBuf, button, {}, at);
    QCOMPARE(f.char_, code);
    QCOMPARE(f.PictureBuf->image(), f.store().page(GlyphStore::pageOf(code)));
    // A selection clears the reference canvas; the right button changes nothing.  The read-out
    // stays when the pointer leaves the table.
    QCOMPARE(*f.refCanvas->pixel(QPoint(5, 5)) == Red, code == from);
    QTest::mouseMove(f.PictureDOT, QPoint(5, 5));
    QCOMPARE(f.LabelCurChar->text(), caption);
}

void TestForm1Table::pageSteps_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("direction"); // -1 Page Up, 1 Page Down
    QTest::addColumn<int>("to");
    QTest::newRow("the next page, the same cell") << 0x82A0 << 1 << 0x83A0;
    QTest::newRow("no code in that cell: the first") << 0x8140 << 1 << 0x824F;
    QTest::newRow("over lead bytes without codes") << 0x84BE << 1 << 0x8740;
    QTest::newRow("down to the single bytes") << 0x8141 << -1 << 0x41;
    QTest::newRow("none after the last") << 0xFC4B << 1 << 0xFC4B;
}

void TestForm1Table::pageSteps()
{
    QFETCH(int, from);
    QFETCH(int, direction);
    QFETCH(int, to);
    Form1& f = *m_form;
    // The keys on the panel and the Edit menu's items step alike.
    for (int way = 0; way < 2; ++way) {
        f.goToCode(from);
        if (way == 0) {
            QTest::mouseClick(f.PictureBuf, Qt::RightButton); // the focus, nothing selected
            QTest::keyClick(f.PictureBuf, direction < 0 ? Qt::Key_PageUp : Qt::Key_PageDown);
        } else {
            (direction < 0 ? f.mnuprevpage : f.mnunextpage)->trigger();
        }
        QCOMPARE(f.char_, to);
        QCOMPARE(m_ttedit->currentCode(), to);
        QCOMPARE(f.currentPage(), GlyphStore::pageOf(to));
    }
}

void TestForm1Table::savedGlyphsComeBack()
{
    // Save, File > save (Ctrl+S) and the close with AutoSave write the table to the name typed,
    // in the current folder, every colour kept; the next start loads it.
    Form1& f = *m_form;
    const QImage table = f.PictureBuf->image().copy();
    QTest::mouseClick(f.CommandSave, Qt::LeftButton);
    QCOMPARE(saved("ptl_buf.bmp"), table);
    // All black and white, the table takes one bit per pixel, and black stays black.
    CharTable::fillRect(f.store().pageForWrite(0), QRect(0, 0, 3, 2), CharTable::SetColour);
    const QImage twoColours = f.store().page(0).copy();
    f.TextBufFileName->setText(QStringLiteral("mine.bmp"));
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QTest::keyClick(&f, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(QFileInfo(QStringLiteral("mine.bmp")).size(), 62 + 512 * 512 / 8);
    QCOMPARE(saved("mine.bmp"), twoColours);

    f.TextBufFileName->setText(QStringLiteral("closed.bmp"));
    f.CheckAutoSave->setChecked(false);
    QVERIFY(f.close());
    QVERIFY(!QFile::exists(QStringLiteral("closed.bmp")));
    f.CheckAutoSave->setChecked(true);
    f.show();
    QVERIFY(f.close());
    QCOMPARE(saved("closed.bmp"), twoColours);
    QVERIFY(m_prompt.shown().isEmpty());

    Form1 next(&m_prompt, m_ttedit.get());
    next.tableFolder = f.tableFolder;
    next.Form_Activate();
    QCOMPARE(next.PictureBuf->image(), table);
    // The staging picture is gone from the reference canvas, which has its lasting size.
    QCOMPARE(next.refCanvas->image().size(), QSize(514, 514));
    QCOMPARE(next.refCanvas->image().pixel(0, 0), White);
}

void TestForm1Table::pagesComeBack()
{
    // A page file the start cannot read stays where it is until the first save keeps it aside.
    QFile bad(QStringLiteral("ptl_buf.88.bmp"));
    QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("BM not a picture") > 0);
    bad.close();
    Form1& f = *m_form;
    f.store().setPage(0, CharTable::blank());
    f.Form_Activate();
    QCOMPARE(f.unreadPageFiles, QStringList{QFileInfo(bad).absoluteFilePath()});

    // Dots painted at codes of two pages, each shown in the panel.
    for (int code : {0x82A0, 0x889F}) {
        f.goToCode(code);
        for (QPoint dot : {QPoint(0, 0), QPoint(3, 4)})
            QTest::mouseClick(f.PictureDOT, Qt::LeftButton, {},
                              QPoint(f.ofsX + f.nX * dot.x() + 2, f.ofsY + f.nY * dot.y() + 2));
    }
    QCOMPARE(f.store().codes(), (QList<int>{0x82A0, 0x889F}));
    const GlyphStore painted = f.store();
    QVERIFY(f.close()); // AutoSave
    QCOMPARE(m_prompt.messages().size(), 1);
    QVERIFY(m_prompt.messages().first().endsWith(QDir::toNativeSeparators(
        QFileInfo(QStringLiteral("ptl_buf.88.unread.bmp")).absoluteFilePath())));
    QCOMPARE(QFileInfo(QStringLiteral("ptl_buf.88.unread.bmp")).size(), 16); // as written

    Form1 next(&m_prompt, m_ttedit.get());
    next.tableFolder = f.tableFolder;
    next.Form_Activate();
    QCOMPARE(next.store().pages(), (QList<int>{0, 0x82, 0x88}));
    for (int page : next.store().pages())
        QCOMPARE(next.store().page(page), painted.page(page));
    QVERIFY(next.unreadPageFiles.isEmpty());
    // A page emptied loses its file at the next save; nothing more is said.
    next.goToCode(0x82A0);
    next.CommandClear_Click();
    next.CommandSave_Click();
    QVERIFY(!QFile::exists(QStringLiteral("ptl_buf.82.bmp")));
    QVERIFY(QFile::exists(QStringLiteral("ptl_buf.88.bmp")));
    QCOMPARE(m_prompt.messages().size(), 1);
}

void TestForm1Table::startWithAFile_data()
{
    QTest::addColumn<QByteArray>("file"); // null: no file
    QTest::addColumn<QImage>("picture");  // null: not read

    const QImage sample = SampleTable::make();
    const QByteArray good = bmp(sample); // 24 bits, rows bottom-up
    QImage mono(40, 30, QImage::Format_Mono);
    mono.setColorTable({White, Black});
    mono.fill(0);
    mono.setPixel(3, 4, 1);
    const QImage wide = sample.copy(0, 0, 600, 300).convertToFormat(QImage::Format_Indexed8);
    const auto patched = [&good](int offset, qint32 value) {
        QByteArray data = good;
        qToLittleEndian(value, data.data() + offset);
        return data;
    };

    QTest::newRow("missing") << QByteArray() << QImage();
    QTest::newRow("a FIFO") << QByteArray("FIFO") << QImage();
    QTest::newRow("rows top-down") << patched(22, -512) << sample.mirrored();
    QTest::newRow("stale bytes after the picture") << good + "junk" << sample;
    QTest::newRow("1 bit, 40 x 30") << bmp(mono) << mono;
    QTest::newRow("8 bits, 600 x 300") << bmp(wide) << wide;
    QTest::newRow("cut off by one byte") << good.chopped(1) << QImage();
    QTest::newRow("not a BMP") << QByteArray("GIF89a: not a table at all.........") << QImage();
    QTest::newRow("width beyond the bound") << patched(18, 100000) << QImage();
    QTest::newRow("run-length compressed") << patched(30, 1) << QImage();
    QTest::newRow("cut off, saved through a link") << good.chopped(1) << QImage();
}

void TestForm1Table::startWithAFile()
{
    QFETCH(QByteArray, file);
    QFETCH(QImage, picture);
    createForm(FakeTTEdit::Kind::Japanese);
    QFile out(QStringLiteral("ptl_buf.bmp"));
    if (file == "FIFO")
        QCOMPARE(mkfifo("ptl_buf.bmp", 0600), 0); // its open would wait for a writer
    else
        QVERIFY(file.isNull() ||
                (out.open(QIODevice::WriteOnly) && out.write(file) == file.size()));
    out.close();
    m_form->Form_Activate();
    // What fits of the picture, clear where it does not reach; blank when it is not read.
    QImage expected = CharTable::blank();
    QPainter(&expected).drawImage(0, 0, picture);
    QCOMPARE(m_form->PictureBuf->image(), expected);
    QVERIFY(!m_form->history().canUndo());
    QVERIFY(m_prompt.shown().isEmpty());
    if (file != "FIFO")
        QCOMPARE(out.open(QIODevice::ReadOnly) ? out.readAll() : QByteArray(), file);
    out.close();

    // The first save keeps a file the start could not read, or read only in part, under
    // another name, by whatever name it reaches it, and says so; later saves write over the
    // table file as usual.
    const bool unread = (!file.isNull() && picture.isNull()) || picture.width() > 512;
    const bool viaLink = QByteArray(QTest::currentDataTag()).endsWith("link");
    if (viaLink) {
        QVERIFY(QFile::link(out.fileName(), QStringLiteral("link.bmp")));
        m_form->TextBufFileName->setText(QStringLiteral("link.bmp"));
    }
    m_form->CommandSave_Click();
    m_form->CommandSave_Click();
    QCOMPARE(m_prompt.shown().size(), unread ? 1 : 0);
    QFile aside(QStringLiteral("ptl_buf.unread.bmp"));
    QCOMPARE(aside.exists(), unread);
    QVERIFY(!QFileInfo::exists(QStringLiteral("ptl_buf.unread-2.bmp")));
    if (unread && file != "FIFO")
        QCOMPARE(aside.open(QIODevice::ReadOnly) ? aside.readAll() : QByteArray(), file);
    QCOMPARE(TableFile::read(out.fileName()).value_or(QImage()), expected);
    QVERIFY(!viaLink || QFileInfo(QStringLiteral("link.bmp")).isSymLink());
}

void TestForm1Table::startFromAnOlderFolder()
{
    // An older start kept the table in the current folder, the user's folder has none: the
    // start loads that one and tells where it is saved from now on; a close that comes while it
    // loads (the load lets events run) saves nothing over either, and the start stops.
    const QByteArray file = bmp(SampleTable::make());
    QFile old(QStringLiteral("ptl_buf.bmp"));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write(file) == file.size());
    old.close();
    Form1& f = *m_form;
    f.tableFolder = m_workDir->filePath(QStringLiteral("user"));
    const QString now = f.tableFolder + QStringLiteral("/ptl_buf.bmp");
    CharTable::clearAll(f.store().pageForWrite(GlyphStore::SingleBytePage)); // as at every start
    QMetaObject::invokeMethod(&f, &QWidget::close, Qt::QueuedConnection);
    f.Form_Activate();
    QVERIFY(!f.isVisible() && !QFileInfo::exists(now));
    QVERIFY(!m_ttedit->callNames().contains("Application.hwnd"));
    QVERIFY(old.open(QIODevice::ReadOnly) && old.readAll() == file);
    QVERIFY(m_prompt.messages().value(0).endsWith(u'\n' + now));
    f.CommandSave_Click();
    QCOMPARE(TableFile::read(now).value_or(QImage()),
             TableFile::read(old.fileName()).value_or(QImage()));
}

void TestForm1Table::failedSave_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");

    QTest::newRow("no name") << ""
                             << "no file name is given";
    QTest::newRow("no such folder") << "nowhere/ptl_buf.bmp"
                                    << "No such file or directory";
    QTest::newRow("a folder") << "."
                              << "Filename refers to a directory";
    // The system's own words for it, in the user's language.
    QTest::newRow("full disk") << "ptl_buf.bmp" << QString::fromLocal8Bit(std::strerror(EFBIG));
}

void TestForm1Table::failedSave()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    Form1& f = *m_form;
    QFile old(QStringLiteral("ptl_buf.bmp"));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("the former table") > 0);
    old.close();
    f.TextBufFileName->setText(name);

    // A full disk: files of 64 KiB at most, by the soft limit, raised again without privileges.
    rlimit limit;
    QVERIFY(getrlimit(RLIMIT_FSIZE, &limit) == 0);
    const rlimit before = limit;
    if (qstrcmp(QTest::currentDataTag(), "full disk") == 0)
        limit.rlim_cur = 64 << 10;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    const auto restore = qScopeGuard([&] {
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, previous);
    });
    QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);

    f.mnusave->trigger();
    QCOMPARE(m_prompt.messages().size(), 1);
    const QStringList lines = m_prompt.messages().first().split(u'\n');
    QCOMPARE(lines.first(), QStringLiteral("キャラクタテーブルを保存できませんでした"));
    QCOMPARE(lines.last(), reason);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("the former table"));
    QCOMPARE(QDir().entryList(QDir::Files), QStringList{QStringLiteral("ptl_buf.bmp")});
    QCOMPARE(f.PictureBuf->image(), SampleTable::make());

    // Closing with AutoSave after the same failure: the user may stay, or leave without it.
    m_prompt.clear();
    m_prompt.answer({false, true});
    QVERIFY(!f.close());
    QVERIFY(f.isVisible());
    QVERIFY(m_prompt.questions().first().startsWith(lines.first()));
    QVERIFY(f.close());
}

QTEST_MAIN(TestForm1Table)
#include "tst_form1table.moc"
