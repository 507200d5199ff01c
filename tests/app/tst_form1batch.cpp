// The batch run over a code range, against a scripted font server: the range dialog, the run
// with its progress window and Cancel, trouble on the way, and the editor as it was afterwards.

#include "app/DialogAutoScanning.h"
#include "app/DialogScanAll.h"
#include "common/Form1Fixture.h"
#include "editor/DotCanvas.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <functional>

namespace {

using Kind = FakeTTEdit::Kind;
using Call = FakeTTEdit::Call;

QList<int> span(int first, int last, std::initializer_list<int> without = {})
{
    QList<int> out;
    for (int c = first; c <= last; ++c)
        if (std::find(without.begin(), without.end(), c) == without.end())
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
    void troubleOnTheWay_data();
    void troubleOnTheWay();

private:
    // A window on a Western font holding codes (all when empty), every import watched.
    void start(std::vector<int> codes = {});
    // Clicks A.Scan; the range dialog, once up, tells what it offers in m_offered, gets the two
    // texts, then act (a click on OK when unset).
    void scan(const QString& first, const QString& last, std::function<void()> act = {});
    // The editor as before the run: code, boxes, reference, the window usable, the grid.
    void checkEditorBack();

    QTemporaryDir m_dir;
    QString m_offered;
    QList<int> m_codes; // the code of every import, and the bar at that moment
    QList<int> m_bars;
    bool m_runState = true; // at every import: window disabled, progress up, reference off
    std::function<void(const Call&)> m_onCall;
};

void TestForm1Batch::init()
{
    QVERIFY(m_dir.isValid());
    start();
}

void TestForm1Batch::cleanup()
{
    destroyForm();
}

void TestForm1Batch::start(std::vector<int> codes)
{
    Form1& f = createForm(Kind::Western, std::move(codes));
    f.dotsFileName = m_dir.filePath(QStringLiteral("ptl_dots.bmp"));
    showAtOrigin(f);
    f.CheckRefChar->setChecked(true);
    f.drawGrid();
    m_ttedit->clearCalls();
    m_prompt.clear();
    m_codes.clear();
    m_bars.clear();
    m_runState = true;
    m_onCall = nullptr;
    m_ttedit->beforeCall = [this](const Call& call) {
        if (m_onCall)
            m_onCall(call);
        if (call.member != u"ImportBmpfile")
            return;
        Form1& f = *m_form;
        const DialogAutoScanning& progress = f.autoScanningDialog();
        m_codes << m_ttedit->currentCode();
        m_bars << progress.ProgressBar1->value();
        m_runState = m_runState && !f.isEnabled() && progress.isVisible() && progress.isEnabled() &&
                     !f.CheckRefChar->isChecked();
    };
}

void TestForm1Batch::scan(const QString& first, const QString& last, std::function<void()> act)
{
    DialogScanAll& range = m_form->scanAllDialog();
    whenShown(&range, [this, &range, first, last, act] {
        QVERIFY(range.isModal());
        m_offered = range.Text1->text() + u' ' + range.Text2->text();
        range.Text1->setText(first);
        range.Text2->setText(last);
        if (act)
            act();
        else
            QTest::mouseClick(range.OKButton, Qt::LeftButton);
    });
    QTest::mouseClick(m_form->CommandScanAll, Qt::LeftButton);
}

void TestForm1Batch::checkEditorBack()
{
    const Form1& f = *m_form;
    QCOMPARE(f.char_, 33);
    QCOMPARE(f.TextCode->text(), QStringLiteral("21"));
    QVERIFY(f.CheckRefChar->isChecked());
    QVERIFY(f.bInteractive);
    QVERIFY(f.isEnabled() && f.isVisible());
    QCOMPARE(f.focusWidget(), f.CommandScanAll); // the click gave it the focus
    QVERIFY(!m_form->autoScanningDialog().isVisible());
    QCOMPARE(*f.PictureDOT->pixel(QPoint(f.ofsX - 1, 5)), qRgb(200, 200, 200));
}

void TestForm1Batch::ranges_data()
{
    QTest::addColumn<QString>("range"); // the two texts typed
    QTest::addColumn<int>("cancel"); // while 70 is sent: 0 Cancel, 1 Esc, 2 its frame, 3 the window
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<QList<int>>("bars"); // empty: only the first and the last are compared

    QList<int> fours;
    for (int b = 0; b <= 100; b += 4)
        fours << b;
    QTest::newRow("65 to 90") << "65 90" << -1 << span(65, 90) << fours;
    QTest::newRow("120 to 130: no 127") << "120 130" << -1 << span(120, 130, {127})
                                        << QList<int>{0, 10, 20, 30, 40, 50, 60, 80, 90, 100};
    QTest::newRow("300 and 10: all") << "300 10" << -1 << span(32, 255, {127}) << QList<int>{};
    QTest::newRow("one code") << "65 65" << -1 << QList<int>{65} << QList<int>{100};
    QTest::newRow("127 alone") << "127 127" << -1 << QList<int>{} << QList<int>{};
    // The click waits for the events to run: 71 is under way then, and is finished.
    const char* cancels[] = {"Cancel", "Esc", "progress window closed", "main window closed"};
    for (int how = 0; how < 4; ++how)
        QTest::newRow(cancels[how]) << "65 90" << how << span(65, 71) << fours.mid(0, 7);
}

void TestForm1Batch::ranges()
{
    QFETCH(QString, range);
    QFETCH(int, cancel);
    QFETCH(QList<int>, codes);
    QFETCH(QList<int>, bars);
    Form1& f = *m_form;
    DialogAutoScanning& progress = f.autoScanningDialog();
    m_onCall = [&](const Call& call) {
        if (cancel < 0 || call.member != u"ImportBmpfile" || m_ttedit->currentCode() != 70)
            return;
        QMetaObject::invokeMethod(
            &progress,
            [&progress, &f, cancel] {
                if (cancel == 0)
                    QTest::mouseClick(progress.CancelButton, Qt::LeftButton);
                else if (cancel == 1)
                    QTest::keyClick(&progress, Qt::Key_Escape);
                else if (cancel == 2)
                    progress.close();
                else
                    f.close();
            },
            Qt::QueuedConnection);
    };
    scan(range.section(u' ', 0, 0), range.section(u' ', 1, 1));

    QCOMPARE(m_codes, codes);
    if (!bars.isEmpty())
        QCOMPARE(m_bars, bars);
    else if (codes.size() > 1)
        QCOMPARE((QList<int>{m_bars.first(), m_bars.last()}), (QList<int>{0, 100}));
    QVERIFY(m_runState); // the progress window stays until the run ends, Cancel or not
    for (int c : codes)
        QVERIFY2(!m_ttedit->glyph(c)->bitmap.isEmpty(), qPrintable(QString::number(c)));
    // One set-up for the whole run; then whether the font holds the codes, the dot grid once,
    // and each code's move and import.
    const QStringList names = m_ttedit->callNames();
    QCOMPARE(names.count("Application.ActiveDocument"), 1);
    const QStringList run = names.mid(names.indexOf("Application.hwnd") + 1);
    QCOMPARE(run.count("Document/1.SetDotGrid"), codes.isEmpty() ? 0 : 1);
    QCOMPARE(run.count("Document/1.ImportBmpfile"), codes.size());
    QCOMPARE(run.count("Document/1.getcode") + run.count("Document/1.ImportBmpfile"),
             run.count("Document/1.setcode"));
    QVERIFY(m_prompt.shown().isEmpty());
    QCOMPARE(f.scanAllDialog().ret, 1);
    checkEditorBack();
}

void TestForm1Batch::rangeDialog()
{
    Form1& f = *m_form;
    DialogScanAll& range = f.scanAllDialog();
    QCOMPARE(range.ret, 0);
    QCOMPARE(range.parentWidget(), &f);
    QCOMPARE(range.windowTitle(), QStringLiteral("Character Range"));
    QCOMPARE(f.autoScanningDialog().parentWidget(), &f);
    QCOMPARE(f.autoScanningDialog().windowTitle(), QStringLiteral("Auto Scanning"));
    // The first showing offers the range; Cancel keeps the typed one but runs nothing.
    scan("70", "60", [&] { QTest::mouseClick(range.CancelButton, Qt::LeftButton); });
    QCOMPARE(m_offered, QStringLiteral("32 126"));
    QCOMPARE(range.ret, 2);
    QCOMPARE((QList<int>{f.startchar, f.endchar}), (QList<int>{60, 70}));
    QVERIFY(m_ttedit->calls().isEmpty());

    // The next showing keeps the boxes as they were left; the frame's close drops what was
    // typed then and runs nothing either.
    scan("40", "50", [&] { range.close(); });
    QCOMPARE(m_offered, QStringLiteral("70 60"));
    QCOMPARE(range.ret, 2);
    QCOMPARE((QList<int>{f.startchar, f.endchar}), (QList<int>{60, 70}));
    QVERIFY(m_ttedit->calls().isEmpty());

    // Loaded afresh after that close: the range again.  Esc is Cancel, Enter is OK.
    scan("abc", "60", [&] { QTest::keyClick(range.Text2, Qt::Key_Escape); });
    QCOMPARE(m_offered, QStringLiteral("60 70"));
    QCOMPARE((QList<int>{f.startchar, f.endchar, range.ret}), (QList<int>{32, 60, 2}));
    scan("66", "65", [&] { QTest::keyClick(range.Text1, Qt::Key_Return); });
    QCOMPARE(range.ret, 1);
    QCOMPARE(m_codes, (QList<int>{65, 66}));
}

void TestForm1Batch::troubleOnTheWay_data()
{
    QTest::addColumn<int>("trouble");
    QTest::addColumn<QList<int>>("arrived"); // the glyphs of 40..51 that reached the font
    QTest::addColumn<QString>("message");    // how the one message starts
    // The font lacks 41-43 and 50, the server refuses the glyphs of 45 and 47: passed over.
    QTest::newRow("lacked and refused")
        << 0 << span(0x40, 0x51, {0x41, 0x42, 0x43, 0x45, 0x47, 0x50})
        << "TTEditのフォントには文字コード 41-43, 50 がありません。文字は読み込まれませんでした\n"
           "TTEditは文字コード 45, 47 の文字を受け付けませんでした";
    // The server goes away at the glyph of 46: the run ends there.
    QTest::newRow("server lost") << 1 << span(0x40, 0x45)
                                 << "TTEditが起動できませんでした\n"
                                    "文字コード 46 から先の文字は読み込まれませんでした";
    QTest::newRow("dots file unwritable")
        << 2 << QList<int>{} << "ドットファイルを書き込めませんでした\n";
    QTest::newRow("no server") << 3 << QList<int>{} << "TTEditが起動できませんでした";
}

void TestForm1Batch::troubleOnTheWay()
{
    QFETCH(int, trouble);
    QFETCH(QList<int>, arrived);
    QFETCH(QString, message);
    if (trouble == 0) {
        std::vector<int> codes;
        for (int c = 32; c <= 255; ++c)
            if ((c < 0x41 || c > 0x43) && c != 0x50)
                codes.push_back(c);
        start(codes);
        m_onCall = [this](const Call& call) {
            if (call.member == u"setcode")
                m_ttedit->setFailing(QStringLiteral("ImportBmpfile"),
                                     call.args[1].toInt() == 0x45 || call.args[1].toInt() == 0x47);
        };
    } else if (trouble == 1) {
        m_onCall = [this](const Call& call) {
            if (call.member == u"ImportBmpfile" && m_ttedit->currentCode() == 0x46) {
                m_ttedit->setRunning(false);
                m_ttedit->setStartable(false);
            }
        };
    } else if (trouble == 2) {
        // A file where the dots file's folder should be.
        QFile blocker(m_dir.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        m_form->dotsFileName = blocker.fileName() + QStringLiteral("/ptl_dots.bmp");
    } else {
        m_ttedit->setRunning(false);
        m_ttedit->setStartable(false);
    }
    scan(QStringLiteral("64"), QStringLiteral("81"));

    QList<int> inFont;
    for (int c = 0x40; c <= 0x51; ++c)
        if (m_ttedit->glyph(c) && !m_ttedit->glyph(c)->bitmap.isEmpty())
            inFont << c;
    QCOMPARE(inFont, arrived);
    // Told once, at the end, whatever the number of codes.
    QCOMPARE(m_prompt.messages().size(), 1);
    QVERIFY2(m_prompt.messages().first().startsWith(message),
             qPrintable(m_prompt.messages().first()));
    QVERIFY(m_prompt.questions().isEmpty());
    QCOMPARE(m_form->char_, 33);
    QVERIFY(m_form->isEnabled());
}

QTEST_MAIN(TestForm1Batch)
#include "tst_form1batch.moc"
