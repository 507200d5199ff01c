// What a user reads in both programs, run once under each interface language (LANGUAGE of the
// test's environment): under Japanese the program's own texts exactly, under English none of
// them left in Japanese.  The windows are walked whole, so that a text added without tr() or
// left out of the catalogue fails here.

#include "app/DialogAutoScanning.h"
#include "app/DialogScanAll.h"
#include "app/MessageBoxPrompt.h"
#include "app/StatusText.h"
#include "app/frmAbout.h"
#include "common/CaptionFit.h"
#include "common/Form1Fixture.h"
#include "fontd/DocumentObject.h"
#include "fontd/FontDocument.h"
#include "fontd/FontPropertiesDialog.h"
#include "fontd/FontServer.h"
#include "fontd/FontWindow.h"
#include "i18n/UiLanguage.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStatusBar>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

bool hasJapanese(const QString& text)
{
    // Kana, CJK punctuation and ideographs, full- and half-width forms.
    static const QRegularExpression japanese(
        QStringLiteral("[\\x{3000}-\\x{30ff}\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    return text.contains(japanese);
}

// Widgets whose text is data, not the program's words: the reference face's name as typed and
// as found, and the character samples.
const QStringList dataWidgets{"TextFace", "LabelCurFace", "LabelChar", "LabelCurChar"};

// Every text of w and its children and actions a user can see, as "object.role: text".
QStringList visibleTexts(const QWidget* root)
{
    QStringList out;
    const auto add = [&out](const QObject* o, const char* role, const QString& text) {
        if (!text.isEmpty())
            out << QStringLiteral("%1.%2: %3").arg(o->objectName(), QLatin1String(role), text);
    };
    QList<const QWidget*> widgets{root};
    for (const QWidget* w : root->findChildren<QWidget*>())
        widgets << w;
    for (const QWidget* w : widgets) {
        add(w, "toolTip", w->toolTip());
        add(w, "statusTip", w->statusTip());
        add(w, "whatsThis", w->whatsThis());
        if (w->isWindow())
            add(w, "windowTitle", w->windowTitle());
        if (const auto* menu = qobject_cast<const QMenu*>(w))
            add(menu, "title", menu->title());
        if (const auto* box = qobject_cast<const QGroupBox*>(w))
            add(box, "title", box->title());
        for (const QAction* a : w->actions()) {
            add(a, "text", a->text());
            add(a, "toolTip", a->toolTip());
        }
        if (dataWidgets.contains(w->objectName()))
            continue;
        if (const auto* label = qobject_cast<const QLabel*>(w))
            add(label, "text", label->text());
        if (const auto* button = qobject_cast<const QAbstractButton*>(w))
            add(button, "text", button->text());
        if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
            add(edit, "text", edit->text());
            add(edit, "placeholder", edit->placeholderText());
        }
    }
    return out;
}

} // namespace

class TestUiTexts : public QObject, private Form1Fixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void windows();
    void messages_data();
    void messages();
    void serverErrors();
    void captionsFit();
    void namedAnswers_data();
    void namedAnswers();
    void statusTexts_data();
    void statusTexts();
    void serverCounts();

private:
    // A row of messages(): what the user does, and what the program says in Japanese.
    struct Path
    {
        const char* name;
        std::function<void(Form1&, FakeTTEdit&, ScriptedPrompt&)> act;
        QStringList japanese;
    };
    static const QList<Path>& paths();

    bool m_english = false;
};

void TestUiTexts::initTestCase()
{
    UiLanguage::install(*qApp);
    const QString expected = qEnvironmentVariable("POINTILLO_TEST_LANGUAGE");
    QCOMPARE(UiLanguage::forSystem(), expected == u"ja" ? QString() : expected);
    m_english = expected == u"en";
}

void TestUiTexts::cleanup()
{
    destroyForm();
}

void TestUiTexts::windows()
{
    showForm(FakeTTEdit::Kind::Western);
    Form1& f = *m_form;
    f.CommandFill->click(); // the history names its step
    frmAbout about(f);
    about.show();
    qint32 start = 32, end = 255;
    DialogScanAll range(start, end, &f);
    range.show();
    bool cancel = false;
    DialogAutoScanning progress(cancel, &f);
    progress.show();
    f.mnupreview->trigger();
    FontServer server(QDBusConnection::sessionBus());
    QString error;
    QVERIFY2(server.registerObjects(&error), qPrintable(error));
    FontWindow fontWindow(server);
    fontWindow.show();
    FontPropertiesDialog properties(FontNames(), QStringLiteral("Pointillo Western"), &fontWindow);
    properties.show();

    QStringList texts;
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            texts << visibleTexts(w);
    QVERIFY(texts.size() > 60);
    // The history names the step as its button does.
    QVERIFY(texts.contains(QStringLiteral("mnuundo.text: undo ") + f.CommandFill->text()));
    // The range dialog's frame has room for its title and the window manager's buttons.
    QFont titleFont = range.font();
    titleFont.setBold(true);
    QVERIFY(range.width() >= QFontMetrics(titleFont).horizontalAdvance(range.windowTitle()) +
                                 3 * range.style()->pixelMetric(QStyle::PM_TitleBarHeight));
    if (m_english) {
        QStringList japanese;
        for (const QString& text : texts)
            if (hasJapanese(text))
                japanese << text;
        QVERIFY2(japanese.isEmpty(), qPrintable(japanese.join(u'\n')));
        // The font server has one name: the outside editor's is gone from what a user reads.
        for (const QString& text : texts)
            QVERIFY2(!text.section(QStringLiteral(": "), 1).contains(u"TTEdit"), qPrintable(text));
        QVERIFY(about.lblDescription->text().contains(u"pointillo-fontd"));
        return;
    }
    // The window's own words, as they stand.
    for (const char* text : {"CheckSquare.toolTip: ドットを正方形にする",
                             "CheckRefChar.toolTip: 文字見本を表示する",
                             "CommandAllClear.toolTip: キャラクタテーブルのデータを全てクリア",
                             "CheckSB.toolTip: TTEditへの読み込み時にサイドベアリングを設定",
                             "LabelChar.toolTip: 文字見本",
                             "TextFace.toolTip: 参照するフォントのフェイス名",
                             "CommandSave.toolTip: キャラクタテーブルのデータを保存",
                             "CheckChrTbl.text: ChｒTbl",
                             "LabelCurFace.toolTip: 実際に表示されているフォントのフェイス名",
                             "TextChar.toolTip: 文字",
                             "TextCode.toolTip: 文字コード",
                             "CommandPrev.toolTip: 前の文字",
                             "CommandNext.toolTip: 次の文字",
                             "CommandTTEdit.toolTip: TTEditへ文字の読み込み",
                             "CommandScanAll.toolTip: 複数文字をまとめて処理",
                             "TextLSB.toolTip: 左サイドベアリング",
                             "TextRSB.toolTip: 右サイドベアリング",
                             "CommandClear.toolTip: 全ドットのクリア",
                             "CommandFill.toolTip: 全ドットのフィル",
                             "CheckSquare.text: Square",
                             "CommandScanAll.text: A.Scan",
                             "CheckAutoSave.text: AutoSave",
                             "mnusave.text: save",
                             "mnufile.title: &File",
                             "mnusavesetting.text: save setting",
                             "mnutable.text: char table",
                             "StatusFont.text: フォント: Pointillo Western (欧文)",
                             "LabelHex1.text: 16進 20",
                             "LabelHex2.text: 16進 FF",
                             "mnumarrowby.text: go to marrowby..."})
        QVERIFY2(texts.contains(QString::fromUtf8(text)), text);
}

const QList<TestUiTexts::Path>& TestUiTexts::paths()
{
    using Kind = FakeTTEdit::Kind;
    static const QList<Path> all{
        {"AllClr",
         [](Form1& f, FakeTTEdit&, ScriptedPrompt&) { f.CommandAllClear->click(); },
         {"すべての文字をクリアしても良いですか？"}},
        {"AllFil",
         [](Form1& f, FakeTTEdit&, ScriptedPrompt&) { f.CommandAllFill->click(); },
         {"すべての文字をフィルしても良いですか？"}},
        {"no server",
         [](Form1& f, FakeTTEdit& t, ScriptedPrompt&) {
             t.closeDocument();
             t.setRunning(false);
             t.setStartable(false);
             f.SetupTTEdit(true);
         },
         {"TTEditが起動できませんでした"}},
        {"no font, new one refused",
         [](Form1& f, FakeTTEdit& t, ScriptedPrompt& p) {
             t.closeDocument();
             t.setNewFileRefused(true);
             p.answer({true, true});
             f.SetupTTEdit(false);
         },
         {"フォントファイルが開かれていません。新規作成しますか？\r\r新規作成する場合は Yes(は"
          "い)、既存のファイルを開く場合は、自分で開いた後に No(いいえ)を押してください。",
          "欧文フォントなら Yes(はい)、和文フォントなら No(いいえ)を押してください。",
          "フォントファイルを新規作成できませんでした"}},
        {"code not in the font",
         [](Form1& f, FakeTTEdit& t, ScriptedPrompt&) {
             t.closeDocument();
             t.openDocument(Kind::Western, {0x41});
             f.CommandTTEdit->click();
         },
         {"TTEditのフォントには文字コード 21 がありません。文字は読み込まれませんでした"}},
        {"glyph refused",
         [](Form1& f, FakeTTEdit& t, ScriptedPrompt&) {
             t.setFailing(QStringLiteral("ImportBmpfile"));
             f.CommandTTEdit->click();
         },
         {"TTEditは文字コード 21 の文字を受け付けませんでした"}},
        {"no cell",
         [](Form1& f, FakeTTEdit& t, ScriptedPrompt&) {
             t.closeDocument();
             t.openDocument(Kind::Japanese);
             f.SetupTTEdit(false);
             f.TextCode->setText(QStringLiteral("82A0"));
             f.CommandTTEdit->click();
         },
         {"この文字コードはキャラクタテーブルにありません。TTEditの文字は空のグリフで置き換え"
          "られます。よろしいですか？"}},
        {"table not saved",
         [](Form1& f, FakeTTEdit&, ScriptedPrompt&) {
             f.TextBufFileName->setText(QStringLiteral("no-such-folder/ptl_buf.bmp"));
             f.CommandSave->click();
         },
         {"キャラクタテーブルを保存できませんでした"}},
        {"font not saved at exit",
         [](Form1& f, FakeTTEdit& t, ScriptedPrompt&) {
             t.setSaved(false);
             f.bAskSave = true;
             f.close();
         },
         {"TTEditでフォントがセーブされていません。セーブしますか？"}},
        {"BDF font unreadable",
         [](Form1& f, FakeTTEdit&, ScriptedPrompt&) { f.importBdf(QStringLiteral("no-such.bdf")); },
         {"BDFフォントを読み込めませんでした"}},
        {"BDF font without glyphs",
         [](Form1& f, FakeTTEdit&, ScriptedPrompt&) {
             QFile bdf(QStringLiteral("empty.bdf"));
             if (bdf.open(QIODevice::WriteOnly))
                 bdf.write("STARTFONT 2.1\nFONT empty\nSIZE 8 75 75\nFONTBOUNDINGBOX 8 8 0 0\n"
                           "CHARS 0\nENDFONT\n");
             bdf.close();
             f.importBdf(bdf.fileName());
         },
         {"BDFフォントに文字コード20～FFの文字がありません"}},
        {"BDF font not written",
         [](Form1& f, FakeTTEdit&, ScriptedPrompt&) {
             f.exportBdf(QStringLiteral("no-such-folder/out.bdf"));
         },
         {"BDFフォントを書き出せませんでした"}},
        {"no system information",
         [](Form1& f, FakeTTEdit&, ScriptedPrompt&) {
             frmAbout about(f);
             about.cmdSysInfo->click();
         },
         {"現時点ではｼｽﾃﾑ情報を使用できません"}},
    };
    return all;
}

void TestUiTexts::messages_data()
{
    QTest::addColumn<int>("path");
    for (int i = 0; i < paths().size(); ++i)
        QTest::newRow(paths()[i].name) << i;
}

void TestUiTexts::messages()
{
    QFETCH(int, path);
    const Path& p = paths()[path];
    Form1& f = createForm(FakeTTEdit::Kind::Western);
    p.act(f, *m_ttedit, m_prompt);
    // A message names its file or reason on the lines after the program's words.
    QStringList shown;
    for (const QString& text : m_prompt.texts())
        shown << (text.contains(u'\n') ? text.section(u'\n', 0, 0) : text);
    QVERIFY2(shown.size() == p.japanese.size(), qPrintable(shown.join(u'|')));
    for (int i = 0; i < shown.size(); ++i) {
        const ScriptedPrompt::Shown& asked = m_prompt.shown()[i];
        // The questions about the font name their answers.
        const bool named = p.japanese[i].startsWith(u"フォントファイルが開かれていません") ||
                           p.japanese[i].startsWith(u"欧文");
        QCOMPARE(!asked.yes.isEmpty() && !asked.no.isEmpty(), named);
        if (m_english) {
            QVERIFY2(!hasJapanese(shown[i]) && !shown[i].isEmpty(), qPrintable(shown[i]));
            // The kind question's answers say what they make: Yes is Western, No Japanese.
            if (p.japanese[i].startsWith(u"欧文"))
                QVERIFY(asked.yes.contains(u"Western") && asked.no.contains(u"Japanese"));
            for (const QString& answer : {asked.yes, asked.no})
                QVERIFY2(!hasJapanese(answer), qPrintable(answer));
        } else {
            QCOMPARE(shown[i], p.japanese[i]);
            // Under Japanese the answers are the Yes and No that the texts name.
            if (!asked.yes.isEmpty())
                QCOMPARE(asked.yes + asked.no, QStringLiteral("はい(&Y)いいえ(&N)"));
        }
    }
}

void TestUiTexts::serverErrors()
{
    if (!m_english)
        QSKIP("the reasons come from the system's messages in the user's language");
    // What the server answers over D-Bus and prints: its reasons for refusing a file, a
    // command line or a build.
    QStringList said;
    QFile junk(QStringLiteral("junk.ttf"));
    QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a font") > 0);
    junk.close();
    for (const QString& name : {QStringLiteral("no-such.ttf"), junk.fileName()}) {
        QString error;
        QVERIFY(!FontDocument::open(name, &error));
        said << error;
    }
    const QStringList commandLines[] = {
        {"--bogus"},
        {"a.ttf", "b.ttf"},
        {"--build", "t.bmp", "-o", "x.ttf"},
        {"--build", "t.bmp", "--dots", "40x2", "-o", "x.ttf"},
        {"--dots", "12x20"},
        {"--build", "t.bmp", "--dots", "12x20", "--kind", "greek", "-o", "x.ttf"}};
    for (const QStringList& arguments : commandLines) {
        QProcess server;
        server.start(qEnvironmentVariable("POINTILLO_BIN_DIR") + QStringLiteral("/pointillo-fontd"),
                     arguments);
        QVERIFY(server.waitForFinished(30000));
        QCOMPARE(server.exitCode(), 2);
        said << QString::fromUtf8(server.readAllStandardError());
    }
    for (const QString& text : said)
        QVERIFY2(!text.isEmpty() && !hasJapanese(text), qPrintable(text));
}

void TestUiTexts::captionsFit()
{
    // The window's controls stand where its fixed layout puts them: each caption fits its
    // control, in the language of the run and the fonts of this machine.
    showForm(FakeTTEdit::Kind::Western);
    QStringList clipped;
    for (QWidget* w : m_form->centralWidget()->findChildren<QWidget*>())
        if (const QString fault = CaptionFit::clipped(w); !fault.isEmpty())
            clipped << fault;
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u'\n')));
}

void TestUiTexts::namedAnswers_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("first");
    QTest::newRow("Y") << int(Qt::Key_Y) << true;
    QTest::newRow("N") << int(Qt::Key_N) << false;
    QTest::newRow("Enter") << int(Qt::Key_Return) << true;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << false;
}

void TestUiTexts::namedAnswers()
{
    // The real box: named answers keep the roles of Yes and No, and their keys.
    QFETCH(int, key);
    QFETCH(bool, first);
    QWidget owner;
    MessageBoxPrompt prompt(&owner);
    QStringList buttons;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        answer.stop();
        for (QAbstractButton* b : box->buttons())
            buttons << QString::number(box->buttonRole(b)) + u' ' + b->text();
        QTest::keyClick(box, Qt::Key(key));
    });
    answer.start(10);
    QCOMPARE(prompt.ask(QStringLiteral("?"), QStringLiteral("Western"), QStringLiteral("Japanese")),
             first);
    buttons.sort();
    QCOMPARE(buttons, (QStringList{QStringLiteral("5 Western"), QStringLiteral("6 Japanese")}));
}

void TestUiTexts::statusTexts_data()
{
    // What the status bar composes, with the parts a user looks for in it in either language;
    // under English a count in the words that agree with it.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("japanese");
    QTest::addColumn<QStringList>("parts");
    QTest::addColumn<QString>("englishCount");
    using S = StatusText;
    const QString bdf = QDir::current().absoluteFilePath(QStringLiteral("a.bdf"));
    QList<qint32> scattered;
    for (int c = 0x100; c < 0x128; c += 2)
        scattered << c;
    QTest::newRow("font, unsaved")
        << S::font({true, QStringLiteral("MyPixel"), 1, false}) << "フォント: MyPixel* (欧文)"
        << QStringList{"MyPixel*"} << QString();
    QTest::newRow("no font") << S::font({}) << "フォント: なし" << QStringList() << QString();
    QTest::newRow("sent") << S::sent(0xC9, CodePage::Cp1252, QStringLiteral("MyPixel"))
                          << "C9 É を MyPixel に送りました" << QStringList{"C9 É", "MyPixel"}
                          << QString();
    QTest::newRow("A.Scan") << S::batch(S::Run::Range, {223, {0x7F, 0x80}, false, {}})
                            << "A.Scan: 223 文字を送り、2 文字を飛ばしました (7F, 80)"
                            << QStringList{"223", "(7F, 80)"} << QString();
    QTest::newRow("send all, stopped")
        << S::batch(S::Run::All, {5, {}, false, 0x8260})
        << "send all glyphs: 5 文字を送りました、8260 から先は送っていません"
        << QStringList{"5", "8260"} << QString();
    QTest::newRow("cancelled, the list cut")
        << S::batch(S::Run::Range, {1, scattered, true, {}})
        << "A.Scan: 1 文字を送り、20 文字を飛ばしました (100, 102, 104, 106, 108, 10A, 10C, "
           "10E, …)、キャンセルしました"
        << QStringList{"20", "10E, …)"} << QString();
    QTest::newRow("BDF, one glyph")
        << S::bdfImported(1, bdf) << bdf + " から 1 文字を読み込みました" << QStringList{bdf}
        << "1 glyph ";
    QTest::newRow("BDF, 95 glyphs")
        << S::bdfImported(95, bdf) << bdf + " から 95 文字を読み込みました" << QStringList{bdf}
        << "95 glyphs ";
}

void TestUiTexts::statusTexts()
{
    QFETCH(QString, text);
    QFETCH(QString, japanese);
    QFETCH(QStringList, parts);
    QFETCH(QString, englishCount);
    if (!m_english) {
        QCOMPARE(text, japanese);
        return;
    }
    QVERIFY2(!hasJapanese(text) && !text.isEmpty(), qPrintable(text));
    for (const QString& part : parts)
        QVERIFY2(text.contains(part), qPrintable(text));
    QVERIFY2(text.contains(englishCount), qPrintable(text));
}

void TestUiTexts::serverCounts()
{
    // The server's window counts the font's glyphs in words that agree with the number.
    FontServer server(QDBusConnection::sessionBus());
    QString error;
    QVERIFY2(server.registerObjects(&error), qPrintable(error));
    FontWindow window(server);
    DocumentObject* document = server.newDocument(FontDocument::Western);
    QVERIFY(document);
    QImage dots(482, 482, QImage::Format_RGB32);
    dots.fill(Qt::white);
    dots.setPixel(100, 100, qRgb(0, 0, 0));
    const QString bmp = QDir::current().absoluteFilePath(QStringLiteral("dot.bmp"));
    QVERIFY(dots.save(bmp, "BMP"));
    QSet<int> counts;
    for (int code : {0x41, 0x42, 0x43}) {
        QVERIFY(document->selectCode(code));
        document->ImportBmpfile(bmp);
        const int n = int(document->document().glyphs().size());
        counts << n;
        const QString message = window.statusBar()->currentMessage();
        const QString count = !m_english ? QStringLiteral("%1 glyph(s)").arg(n)
                              : n == 1   ? QStringLiteral("1 glyph")
                                         : QStringLiteral("%1 glyphs").arg(n);
        QVERIFY2(message.endsWith(u' ' + count), qPrintable(message));
    }
    QVERIFY(counts.contains(1) && counts.contains(2));
}

QTEST_MAIN(TestUiTexts)
#include "tst_uitexts.moc"
