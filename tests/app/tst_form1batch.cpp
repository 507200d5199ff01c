// The batch run over a code range, against a scripted font server: the range dialog, the run
// with its progress window and Cancel, and the editor as it was afterwards.

#include "app/DialogAutoScanning.h"
#include "app/DialogScanAll.h"
#include "chartable/CharTable.h"
#include "common/Form1Fixture.h"
#include "editor/DotCanvas.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace {

using Kind = FakeTTEdit::Kind;
using Call = FakeTTEdit::Call;

const QString noServer = QStringLiteral("TTEditが起動できませんでした");

// One glyph import as the server saw it, with the window's state at that moment.
struct Seen
{
    int code;
    int bar;
    bool mainEnabled;
    bool progressUp; // shown and enabled
    bool reference;
};

QList<int> codesOf(const QList<Seen>& seen)
{
    QList<int> out;
    for (const Seen& s : seen)
        out << s.code;
    return out;
}

QList<int> span(int first, int last, int without = -1)
{
    QList<int> out;
    for (int c = first; c <= last; ++c)
        if (c != without)
            out << c;
    return out;
}

} // namespace

class TestForm1Batch : public QObject, private Form1Fixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void ranges_data();
    void ranges();
    void rangeDialog();
    void cancelDuringTheRun_data();
    void cancelDuringTheRun();
    void skippedCodesAreTold();
    void lostServerEndsTheRun();
    void unwritableDotsFileEndsTheRun();
    void noServerRunsNothing();

private:
    Form1& form() { return *m_form; }
    // Clicks A.Scan; the range dialog gets the two texts and then answer (OK by default).
    void scan(const QString& first, const QString& last,
              std::function<void(DialogScanAll&)> answer = {});
    // Records every glyph import while the run goes on.
    void watchImports();

    QTemporaryDir m_dir;
    QList<Seen> m_seen;
};

void TestForm1Batch::init()
{
    QVERIFY(m_dir.isValid());
    Form1& f = createForm(Kind::Western);
    f.dotsFileName = m_dir.filePath(QStringLiteral("ptl_dots.bmp"));
    showAtOrigin(f);
    f.drawGrid();
    m_ttedit->clearCalls();
    m_prompt.clear();
    m_seen.clear();
    watchImports();
}

void TestForm1Batch::cleanup()
{
    destroyForm();
}

void TestForm1Batch::watchImports()
{
    m_ttedit->beforeCall = [this](const Call& call) {
        if (call.member != u"ImportBmpfile")
            return;
        Form1& f = form();
        const DialogAutoScanning& progress = f.autoScanningDialog();
        m_seen.append({m_ttedit->currentCode(), progress.ProgressBar1->value(), f.isEnabled(),
                       progress.isVisible() && progress.isEnabled(), f.CheckRefChar->isChecked()});
    };
}

void TestForm1Batch::scan(const QString& first, const QString& last,
                          std::function<void(DialogScanAll&)> answer)
{
    Form1& f = form();
    DialogScanAll& range = f.scanAllDialog();
    whenShown(&range, [&range, first, last, answer] {
        range.Text1->setText(first);
        range.Text2->setText(last);
        if (answer)
            answer(range);
        else
            QTest::mouseClick(range.OKButton, Qt::LeftButton);
    });
    QTest::mouseClick(f.CommandScanAll, Qt::LeftButton);
}

void TestForm1Batch::ranges_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<QList<int>>("bars"); // empty: not compared

    QList<int> fours;
    for (int b = 0; b <= 100; b += 4)
        fours << b;
    QTest::newRow("65 to 90") << "65"
                              << "90" << span(65, 90) << fours;
    QTest::newRow("120 to 130: no 127")
        << "120"
        << "130" << span(120, 130, 127) << QList<int>{0, 10, 20, 30, 40, 50, 60, 80, 90, 100};
    QTest::newRow("300 and 10: all") << "300"
                                     << "10" << span(32, 255, 127) << QList<int>{};
    QTest::newRow("one code") << "65"
                              << "65" << QList<int>{65} << QList<int>{100};
    QTest::newRow("127 alone") << "127"
                               << "127" << QList<int>{} << QList<int>{};
}

void TestForm1Batch::ranges()
{
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QList<int>, codes);
    QFETCH(QList<int>, bars);
    Form1& f = form();
    f.CheckRefChar->setChecked(true);
    const QString codeBox = f.TextCode->text();

    scan(first, last);

    QCOMPARE(codesOf(m_seen), codes);
    if (!bars.isEmpty()) {
        QList<int> seenBars;
        for (const Seen& s : m_seen)
            seenBars << s.bar;
        QCOMPARE(seenBars, bars);
    } else if (codes.size() > 1) {
        QCOMPARE(m_seen.first().bar, 0);
        QCOMPARE(m_seen.last().bar, 100);
    }
    for (const Seen& s : m_seen) {
        QVERIFY(!s.mainEnabled);
        QVERIFY(s.progressUp);
        QVERIFY(!s.reference);
    }
    for (int c : codes)
        QVERIFY2(m_ttedit->glyph(c) && !m_ttedit->glyph(c)->bitmap.isEmpty(),
                 qPrintable(QString::number(c)));

    // One set-up for the whole run; each code is the export's calls alone.
    const QStringList names = m_ttedit->callNames();
    QCOMPARE(names.count("Application.ActiveDocument"), 1);
    const qsizetype start = names.indexOf("Application.hwnd") + 1;
    QStringList perCode;
    for (int i = 0; i < codes.size(); ++i)
        perCode << QStringList{"Document/1.setcode", "Document/1.getcode", "Document/1.selectall",
                               "Document/1.Delete", "Document/1.ImportBmpfile"};
    QCOMPARE(names.mid(start), perCode);

    // The editor as before: code, reference, boxes, the grid; the window usable again.
    QVERIFY(m_prompt.shown().isEmpty());
    QCOMPARE(f.char_, 33);
    QCOMPARE(f.TextCode->text(), codeBox);
    QVERIFY(f.CheckRefChar->isChecked());
    QVERIFY(f.bInteractive);
    QVERIFY(f.isEnabled());
    QVERIFY(f.isVisible());
    QVERIFY(!f.autoScanningDialog().isVisible());
    QCOMPARE(*f.PictureDOT->pixel(QPoint(f.ofsX - 1, 5)), qRgb(200, 200, 200));
    QCOMPARE(f.scanAllDialog().ret, 1);
}

void TestForm1Batch::rangeDialog()
{
    Form1& f = form();
    DialogScanAll& range = f.scanAllDialog();
    QCOMPARE(range.ret, 0);
    QCOMPARE(range.parentWidget(), &f);
    QCOMPARE(range.windowTitle(), QStringLiteral("Character Range"));

    // The first showing offers the range; Cancel keeps the typed one but runs nothing.
    QString offered;
    scan(QStringLiteral("70"), QStringLiteral("60"), [&](DialogScanAll& d) {
        QVERIFY(d.isModal());
        QTest::mouseClick(d.CancelButton, Qt::LeftButton);
    });
    QCOMPARE(range.ret, 2);
    QCOMPARE(f.startchar, 60);
    QCOMPARE(f.endchar, 70);
    QVERIFY(m_ttedit->calls().isEmpty());

    // The next showing keeps the boxes as they were left; the frame's close drops what was
    // typed then and runs nothing either.
    whenShown(&range, [&] {
        offered = range.Text1->text() + u' ' + range.Text2->text();
        range.Text1->setText(QStringLiteral("40"));
        range.close();
    });
    QTest::mouseClick(f.CommandScanAll, Qt::LeftButton);
    QCOMPARE(offered, QStringLiteral("70 60"));
    QCOMPARE(range.ret, 2);
    QCOMPARE(f.startchar, 60);
    QVERIFY(m_ttedit->calls().isEmpty());

    // Loaded afresh after the frame's close: the range again.  Esc is Cancel.
    whenShown(&range, [&] {
        offered = range.Text1->text() + u' ' + range.Text2->text();
        range.Text2->setText(QStringLiteral("abc"));
        QTest::keyClick(range.Text2, Qt::Key_Escape);
    });
    QTest::mouseClick(f.CommandScanAll, Qt::LeftButton);
    QCOMPARE(offered, QStringLiteral("60 70"));
    QCOMPARE(range.ret, 2);
    QCOMPARE(f.startchar, 32);
    QCOMPARE(f.endchar, 60);

    // Enter is OK: the run goes.
    whenShown(&range, [&] {
        range.Text1->setText(QStringLiteral("66"));
        range.Text2->setText(QStringLiteral("65"));
        QTest::keyClick(range.Text1, Qt::Key_Return);
    });
    QTest::mouseClick(f.CommandScanAll, Qt::LeftButton);
    QCOMPARE(range.ret, 1);
    QCOMPARE(codesOf(m_seen), (QList<int>{65, 66}));
}

void TestForm1Batch::cancelDuringTheRun_data()
{
    // 0 the Cancel button, 1 Esc, 2 the frame's close, 3 the main window's close
    QTest::addColumn<int>("how");
    QTest::newRow("Cancel") << 0;
    QTest::newRow("Esc") << 1;
    QTest::newRow("frame") << 2;
    QTest::newRow("main window closed") << 3;
}

void TestForm1Batch::cancelDuringTheRun()
{
    QFETCH(int, how);
    Form1& f = form();
    DialogAutoScanning& progress = f.autoScanningDialog();
    QCOMPARE(progress.parentWidget(), &f);
    QCOMPARE(progress.windowTitle(), QStringLiteral("Auto Scanning"));
    f.CheckRefChar->setChecked(true);
    // The user's click arrives while 70 is being exported, and waits for the events to run.
    m_ttedit->beforeCall = [&](const Call& call) {
        if (call.member == u"ImportBmpfile" && m_ttedit->currentCode() == 70) {
            QMetaObject::invokeMethod(
                &progress,
                [&progress, &f, how] {
                    if (how == 0)
                        QTest::mouseClick(progress.CancelButton, Qt::LeftButton);
                    else if (how == 1)
                        QTest::keyClick(&progress, Qt::Key_Escape);
                    else if (how == 2)
                        progress.close();
                    else
                        f.close();
                },
                Qt::QueuedConnection);
        }
        if (call.member == u"ImportBmpfile")
            m_seen.append({m_ttedit->currentCode(), 0, false, progress.isVisible(), false});
    };
    scan(QStringLiteral("65"), QStringLiteral("90"));

    // 71 was under way when the click was seen: it is finished, nothing after it.
    QCOMPARE(codesOf(m_seen), span(65, 71));
    for (const Seen& s : m_seen)
        QVERIFY(s.progressUp); // the window stays until the run ends
    QVERIFY(f.bCancel);
    QVERIFY(!progress.isVisible());
    QCOMPARE(f.char_, 33);
    QCOMPARE(f.TextCode->text(), QStringLiteral("21"));
    QVERIFY(f.CheckRefChar->isChecked());
    QVERIFY(f.isEnabled());
    QVERIFY(f.isVisible());
    QCOMPARE(f.focusWidget(), f.CommandScanAll); // the click took it
    QVERIFY(m_prompt.shown().isEmpty());

    // The next run starts afresh, bar at 0.
    m_seen.clear();
    watchImports();
    scan(QStringLiteral("65"), QStringLiteral("67"));
    QCOMPARE(codesOf(m_seen), span(65, 67));
    QCOMPARE(m_seen.first().bar, 0);
    QVERIFY(m_seen.first().progressUp);
}

void TestForm1Batch::skippedCodesAreTold()
{
    // A font without 41-43 and 50, whose server refuses the glyphs of 45 and 47.
    std::vector<int> codes;
    for (int c = 32; c <= 255; ++c)
        if ((c < 0x41 || c > 0x43) && c != 0x50)
            codes.push_back(c);
    Form1& f = createForm(Kind::Western, codes);
    f.dotsFileName = m_dir.filePath(QStringLiteral("ptl_dots.bmp"));
    showAtOrigin(f);
    m_ttedit->beforeCall = [this](const Call& call) {
        if (call.member == u"setcode")
            m_ttedit->setFailing(QStringLiteral("ImportBmpfile"),
                                 call.args[1].toInt() == 0x45 || call.args[1].toInt() == 0x47);
    };
    scan(QStringLiteral("64"), QStringLiteral("81"));

    // The run went on past every one of them, and says so once, at its end.
    for (int c = 0x40; c <= 0x51; ++c) {
        const bool sent = (c < 0x41 || c > 0x43) && c != 0x50 && c != 0x45 && c != 0x47;
        const FakeTTEdit::Glyph* g = m_ttedit->glyph(c);
        QCOMPARE(g && !g->bitmap.isEmpty(), sent);
    }
    QCOMPARE(m_prompt.messages(),
             QStringList{QStringLiteral("TTEditのフォントには文字コード 41-43, 50 がありません。"
                                        "文字は読み込まれませんでした\n"
                                        "TTEditは文字コード 45, 47 の文字を受け付けませんでした")});
    QVERIFY(m_prompt.questions().isEmpty());
    QCOMPARE(f.char_, 33);
}

void TestForm1Batch::lostServerEndsTheRun()
{
    Form1& f = form();
    m_ttedit->beforeCall = [this](const Call& call) {
        if (call.member == u"setcode" && call.args[1].toInt() == 0x46) {
            m_ttedit->setRunning(false);
            m_ttedit->setStartable(false);
        }
    };
    scan(QStringLiteral("65"), QStringLiteral("90"));
    // 45 went in; from 46 on nothing was sent, nor waited for.
    QVERIFY(m_ttedit->glyph(0x45));
    QCOMPARE(m_ttedit->callNames().count("Document/1.ImportBmpfile"), 5);
    QCOMPARE(m_prompt.messages(),
             QStringList{noServer +
                         QStringLiteral("\n文字コード 46 から先の文字は読み込まれませんでした")});
    QCOMPARE(f.char_, 33);
    QVERIFY(f.isEnabled());
}

void TestForm1Batch::unwritableDotsFileEndsTheRun()
{
    Form1& f = form();
    f.dotsFileName = m_dir.filePath(QStringLiteral("file/ptl_dots.bmp"));
    QFile blocker(m_dir.filePath(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    scan(QStringLiteral("65"), QStringLiteral("90"));
    // Told once by the export, then the run is over.
    QCOMPARE(m_prompt.messages().size(), 1);
    QVERIFY(m_prompt.messages().first().startsWith(
        QStringLiteral("ドットファイルを書き込めませんでした")));
    QVERIFY(!m_ttedit->callNames().contains("Document/1.ImportBmpfile"));
    QVERIFY(f.isEnabled());
}

void TestForm1Batch::noServerRunsNothing()
{
    Form1& f = form();
    f.CheckRefChar->setChecked(true);
    m_ttedit->setRunning(false);
    m_ttedit->setStartable(false);
    scan(QStringLiteral("65"), QStringLiteral("90"));
    QCOMPARE(m_prompt.messages(), QStringList{noServer});
    QVERIFY(m_seen.isEmpty());
    QCOMPARE(f.char_, 33);
    QVERIFY(f.CheckRefChar->isChecked());
    QVERIFY(f.isEnabled());
    QVERIFY(!f.autoScanningDialog().isVisible());
}

QTEST_MAIN(TestForm1Batch)
#include "tst_form1batch.moc"
