// What a user reads in both programs, run once under each interface language (LANGUAGE of the
// test's environment): under Japanese the program's own texts exactly, under English none of
// them left in Japanese.  The windows are walked whole, so that a text added without tr() or
// left out of the catalogue fails here.

#include "app/DialogAutoScanning.h"
#include "app/DialogScanAll.h"
#include "app/MessageBoxPrompt.h"
#include "app/StatusText.h"
#include "app/frmAbout.h"
#include "common/Form1Fixture.h"
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
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
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
    void namedAnswers();
    void statusTexts();

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
    QVERIFY(texts.contains(QStringLiteral("mnuundo.text: undo ") + f.CommandFill->text()));
    if (m_english) {
        QStringList japanese;
        for (const QString& text : texts)
            if (hasJapanese(text))
                japanese << text;
        QVERIFY2(japanese.isEmpty(), qPrintable(japanese.join(u'\n')));
        // The font server has one name: the outside editor's is gone from what a user reads.
        for (const QString& text : texts)
            QVERIFY2(!text.section(QStringLiteral(": "), 1).contains(u"TTEdit"), qPrintable(text));
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
                             "StatusFont.text: フォント: 名前不明 (欧文)",
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
        {"font unreadable",
         [](Form1& f, FakeTTEdit&, ScriptedPrompt&) {
             f.importFont(QStringLiteral("no-such.bdf"));
         },
         {"フォントを読み込めませんでした"}},
        {"font without glyphs",
         [](Form1& f, FakeTTEdit&, ScriptedPrompt&) {
             QFile bdf(QStringLiteral("empty.bdf"));
             if (bdf.open(QIODevice::WriteOnly))
                 bdf.write("STARTFONT 2.1\nFONT empty\nSIZE 8 75 75\nFONTBOUNDINGBOX 8 8 0 0\n"
                           "CHARS 0\nENDFONT\n");
             bdf.close();
             f.importFont(bdf.fileName());
         },
         {"フォントに日本語フォントのコードの文字がありません"}},
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
        // The kind question names its answers: under Japanese the Yes and No of its text, under
        // English what they make.
        const ScriptedPrompt::Shown& asked = m_prompt.shown()[i];
        if (p.japanese[i].startsWith(u"欧文"))
            QCOMPARE(asked.yes + u'|' + asked.no,
                     QString::fromUtf16(m_english ? u"Western|Japanese" : u"はい(&Y)|いいえ(&N)"));
        if (m_english) {
            QVERIFY2(!hasJapanese(shown[i]) && !shown[i].isEmpty(), qPrintable(shown[i]));
        } else {
            QCOMPARE(shown[i], p.japanese[i]);
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
    for (QWidget* w : m_form->centralWidget()->findChildren<QWidget*>()) {
        QString text;
        QRect room;
        if (auto* box = qobject_cast<QCheckBox*>(w)) {
            QStyleOptionButton option;
            option.initFrom(box);
            option.text = text = box->text();
            room = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = text = button->text();
            room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            QStyleOptionFrame option;
            option.initFrom(edit);
            option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
            text = edit->text();
            // Less the line edit's own margin of a pixel each side.
            room = edit->style()
                       ->subElementRect(QStyle::SE_LineEditContents, &option, edit)
                       .adjusted(1, 0, -1, 0);
        } else if (auto* label = qobject_cast<QLabel*>(w);
                   label && w->objectName() != u"LabelChar") {
            text = label->text();
            room = label->contentsRect();
        } else {
            continue;
        }
        const int width = w->fontMetrics().horizontalAdvance(text);
        const int height = w->fontMetrics().height();
        if (width > room.width() || height > room.height() + 2)
            clipped << QStringLiteral("%1 \"%2\": %3 x %4 in %5 x %6")
                           .arg(w->objectName(), text)
                           .arg(width)
                           .arg(height)
                           .arg(room.width())
                           .arg(room.height());
    }
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u'\n')));
}

void TestUiTexts::namedAnswers()
{
    // The real box: named answers keep the keys and roles of Yes and No (Esc is No's).
    QWidget owner;
    MessageBoxPrompt prompt(&owner);
    for (const auto& [key, first] : {std::pair(Qt::Key_Y, true), std::pair(Qt::Key_N, false),
                                     std::pair(Qt::Key_Escape, false)}) {
        QTimer::singleShot(0, &owner,
                           [key] { QTest::keyClick(QApplication::activeModalWidget(), key); });
        QCOMPARE(prompt.ask(QStringLiteral("?"), QStringLiteral("West"), QStringLiteral("Japan")),
                 first);
    }
}

void TestUiTexts::statusTexts()
{
    // The status bar's words: skipped codes cut short; under English, counts in the words that
    // agree with them.
    QList<qint32> skipped;
    for (int c = 0x100; c < 0x128; c += 2)
        skipped << c;
    const QString batch = StatusText::batch(StatusText::Run::Range, {1, skipped, true, {}});
    const QString server =
        QCoreApplication::translate("FontWindow", "Code %1 %2   %n glyph(s)", nullptr, 1);
    if (!m_english) {
        QCOMPARE(batch,
                 QStringLiteral("A.Scan: 1 文字を送り、20 文字を飛ばしました (100, 102, 104, "
                                "106, 108, 10A, 10C, 10E, …)、キャンセルしました"));
        QCOMPARE(server, QStringLiteral("Code %1 %2   1 glyph(s)"));
    } else {
        QVERIFY2(!hasJapanese(batch) && batch.contains(u" 20 ") && batch.contains(u"10E, …)"),
                 qPrintable(batch));
        QVERIFY2(server.endsWith(u" 1 glyph"), qPrintable(server));
    }
}

QTEST_MAIN(TestUiTexts)
#include "tst_uitexts.moc"
