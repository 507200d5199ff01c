#include "common/Form1Fixture.h"
#include "editor/DotCanvas.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTest>

namespace {
QString captionOf(const QWidget* w)
{
    if (auto* label = qobject_cast<const QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(w))
        return edit->text();
    return QString();
}
} // namespace

class TestForm1Layout : public QObject, private Form1Fixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowAndClientArea();
    void control_data();
    void control();
    void everyControlIsListed();
    void sliders();
    void textBoxes();
    void menus_data();
    void menus();
    void refreshFromTheMenu();
    void exitClosesTheWindow();
};

void TestForm1Layout::init()
{
    // A font is open: the code boxes ask nothing.
    showForm(FakeTTEdit::Kind::Western);
}

void TestForm1Layout::cleanup()
{
    destroyForm();
}

void TestForm1Layout::windowAndClientArea()
{
    Form1& f = *m_form;
    QCOMPARE(f.windowTitle(), QStringLiteral("Pointillo"));
    const QRect client = f.centralWidget()->geometry();
    QCOMPARE(client.size(), QSize(1018, 584));
    QCOMPARE(client.top(), f.menuBar()->geometry().bottom() + 1);
    QCOMPARE(f.statusBar()->geometry().top(), client.bottom() + 1);
    QCOMPARE(f.size(), QSize(1018, f.menuBar()->height() + 584 + Form1::StatusBarHeight));
    // Not resizable by the user.
    QCOMPARE(f.minimumSize(), f.maximumSize());
}

void TestForm1Layout::control_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("toolTip");

    auto row = [](const char* name, const char* kind, QRect geometry, const QString& caption,
                  const QString& toolTip = QString()) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(kind) << geometry
                            << caption << toolTip;
    };
    row("Label1", "QLabel", {5, 4, 14, 15}, "X :");
    row("SliderDotX", "QSlider", {24, 0, 253, 17}, "");
    row("LabelDotX", "QLabel", {280, 4, 17, 17}, "12");
    row("CheckSquare", "QCheckBox", {308, 0, 57, 17}, "Square", "ドットを正方形にする");
    row("CheckRefChar", "QCheckBox", {368, 0, 121, 17}, "RefferOtherFont", "文字見本を表示する");
    row("CommandAllClear", "QPushButton", {864, 0, 49, 17}, "AllClr",
        "キャラクタテーブルのデータを全てクリア");
    row("CommandAllFill", "QPushButton", {912, 0, 49, 17}, "AllFil");
    row("CommandAllRev", "QPushButton", {960, 0, 49, 17}, "AllRev");
    row("Label2", "QLabel", {5, 20, 13, 15}, "Y :");
    row("SliderDotY", "QSlider", {24, 16, 253, 17}, "");
    row("LabelDotY", "QLabel", {280, 20, 17, 17}, "20");
    row("CheckSB", "QCheckBox", {308, 16, 57, 17}, "SetSB",
        "TTEditへの読み込み時にサイドベアリングを設定");
    row("LabelChar", "SampleLabel", {368, 16, 37, 37}, "", "文字見本");
    row("TextFace", "QLineEdit", {408, 16, 81, 18}, "ＭＳ Ｐゴシック",
        "参照するフォントのフェイス名");
    row("LabelCurChar", "QLabel", {496, 24, 113, 17}, "-");
    row("TextBufFileName", "QLineEdit", {752, 24, 129, 18}, "ptl_buf.bmp");
    row("CommandSave", "QPushButton", {888, 24, 41, 17}, "Save",
        "キャラクタテーブルのデータを保存");
    row("CheckAutoSave", "QCheckBox", {936, 24, 73, 17}, "AutoSave");
    row("Label3", "QLabel", {5, 36, 14, 15}, "S :");
    row("SliderSize", "QSlider", {24, 32, 253, 17}, "");
    row("LabelSize", "QLabel", {280, 36, 24, 12}, "100%");
    row("CheckChrTbl", "QCheckBox", {308, 32, 57, 17}, "ChｒTbl");
    row("LabelCurFace", "QLabel", {411, 39, 81, 17}, "-",
        "実際に表示されているフォントのフェイス名");
    row("TextChar", "QLineEdit", {8, 56, 25, 18}, "", "文字");
    row("TextCode", "QLineEdit", {32, 56, 41, 18}, "", "文字コード");
    row("CommandPrev", "QPushButton", {72, 56, 33, 17}, "<<", "前の文字");
    row("CommandNext", "QPushButton", {104, 56, 33, 17}, ">>", "次の文字");
    row("CommandTTEdit", "QPushButton", {136, 56, 73, 17}, "TTEdit", "TTEditへ文字の読み込み");
    row("CommandScanAll", "QPushButton", {216, 56, 49, 17}, "A.Scan", "複数文字をまとめて処理");
    row("LabelSB", "QLabel", {272, 60, 25, 17}, "SB : ");
    row("TextLSB", "QLineEdit", {296, 56, 33, 18}, "20", "左サイドベアリング");
    row("TextRSB", "QLineEdit", {328, 56, 33, 18}, "20", "右サイドベアリング");
    row("CommandClear", "QPushButton", {368, 56, 41, 17}, "Clr", "全ドットのクリア");
    row("CommandFill", "QPushButton", {408, 56, 41, 17}, "Fil", "全ドットのフィル");
    row("CommandRev", "QPushButton", {448, 56, 41, 17}, "Rev");
    row("PictureDOT", "DotCanvas", {8, 80, 482, 482}, "");
    row("PictureBuf", "DotCanvas", {496, 48, 512, 512}, "");
    row("LabelInfo", "QLabel", {8, 568, 417, 17}, "");
}

void TestForm1Layout::control()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(QString, toolTip);

    QWidget* w = m_form->centralWidget()->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
    QVERIFY(w);
    QCOMPARE(QString::fromLatin1(w->metaObject()->className()), kind);
    QCOMPARE(w->geometry(), geometry);
    QVERIFY(w->isVisible());
    QCOMPARE(captionOf(w), caption);
    QCOMPARE(w->toolTip(), toolTip);
}

void TestForm1Layout::everyControlIsListed()
{
    // The table above is the whole window: nothing unnamed or extra.
    const QList<QWidget*> children =
        m_form->centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QCOMPARE(children.size(), 38);
    for (QWidget* w : children)
        QVERIFY2(!w->objectName().isEmpty(), w->metaObject()->className());

    // Members and names agree.
    Form1& f = *m_form;
    QCOMPARE(f.SliderDotX->objectName(), QStringLiteral("SliderDotX"));
    QCOMPARE(f.PictureDOT->objectName(), QStringLiteral("PictureDOT"));
    QCOMPARE(f.CommandAllFill->objectName(), QStringLiteral("CommandAllFill"));
}

void TestForm1Layout::sliders()
{
    Form1& f = *m_form;
    for (QSlider* s : {f.SliderDotX, f.SliderDotY}) {
        QCOMPARE(s->orientation(), Qt::Horizontal);
        QCOMPARE(s->minimum(), 3);
        QCOMPARE(s->maximum(), 32);
        QCOMPARE(s->singleStep(), 1);
        QCOMPARE(s->pageStep(), 5);
    }
    QCOMPARE(f.SliderDotX->value(), 12);
    QCOMPARE(f.SliderDotY->value(), 20);
    QCOMPARE(f.SliderSize->minimum(), 1);
    QCOMPARE(f.SliderSize->maximum(), 100);
    QCOMPARE(f.SliderSize->value(), 100);
    QCOMPARE(f.PictureDOT->image().size(), QSize(482, 482));
    QCOMPARE(f.PictureBuf->image().size(), QSize(512, 512));
}

void TestForm1Layout::textBoxes()
{
    Form1& f = *m_form;
    QCOMPARE(f.TextCode->maxLength(), 4);
    QCOMPARE(f.TextChar->maxLength(), 2);
    QCOMPARE(f.TextCode->font().family(), QStringLiteral("Arial"));
    QCOMPARE(f.TextCode->font().pointSize(), 9);
    QCOMPARE(f.LabelCurChar->font().family(), QStringLiteral("Arial"));
    // A fifth digit is refused by the box.
    f.TextCode->setFocus();
    f.TextCode->clear();
    QTest::keyClicks(f.TextCode, QStringLiteral("12345"));
    QCOMPARE(f.TextCode->text(), QStringLiteral("1234"));
}

void TestForm1Layout::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QList<QKeySequence>>("shortcuts");

    const QKeySequence none;
    // The font import and the BDF export stand apart, before exit.
    QTest::newRow("File")
        << "mnufile"
        << "&File" << QStringList{"mnusave", "mnusavesetting", "mnuloadsetting", "mnudefault",
                                  "",        "mnuimportfont",  "mnuexportbdf",   "",
                                  "mnuexit"}
        << QStringList{"save", "save setting",   "load setting",  "reset to default setting",
                       "",     "import font...", "export BDF...", "",
                       "exit"}
        << QList<QKeySequence>{
               QKeySequence(Qt::CTRL | Qt::Key_S), none, none, none, none, none, none, none, none};
    // Undo and redo come first, apart from the rest; redo has Ctrl+Shift+Z too.  The glyph
    // tools follow in groups; send and next is beside the export.  (Lists by commas, "; ".)
    QTest::newRow("Edit")
        << "mnuedit"
        << "&Edit"
        << QStringLiteral("mnuundo,mnuredo,,mnufliph,mnuflipv,mnurotate,,mnumoveup,mnumovedown,"
                          "mnumoveleft,mnumoveright,,mnucopyglyph,mnupasteglyph,,mnuprevchar,"
                          "mnunextchar,mnuprevpage,mnunextpage,mnuttedit,mnusendnext,mnusendall")
               .split(u',')
        << QStringLiteral("undo,redo,,flip horizontal,flip vertical,rotate right,,move up,"
                          "move down,move left,move right,,copy glyph,paste glyph,,prev char,"
                          "next char,prev page,next page,ttedit,send and next,send all glyphs")
               .split(u',')
        << QKeySequence::listFromString(
               QStringLiteral("Ctrl+Z; Ctrl+Y; ; Shift+H; Shift+V; Shift+R; ; Alt+Up; Alt+Down; "
                              "Alt+Left; Alt+Right; ; Ctrl+Shift+C; Ctrl+Shift+V; ; Ctrl+P; "
                              "Ctrl+N; Ctrl+PgUp; Ctrl+PgDown; Ctrl+T; Ctrl+Shift+T; "));
    QTest::newRow("View") << "mnuview"
                          << "&View" << QStringList{"mnurefresh", "mnubaseline"}
                          << QStringList{"refresh", "baseline"}
                          << QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_R), none};
    QTest::newRow("Window") << "mnuwindow"
                            << "&Window" << QStringList{"mnutable", "mnupreview"}
                            << QStringList{"char table", "preview"}
                            << QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_C), none};
    QTest::newRow("Help") << "mnuhelp"
                          << "&Help" << QStringList{"mnuabout", "mnumarrowby"}
                          << QStringList{"about...", "go to marrowby..."}
                          << QList<QKeySequence>{none, none};
}

void TestForm1Layout::menus()
{
    QFETCH(QString, menu);
    QFETCH(QString, title);
    QFETCH(QStringList, items);
    QFETCH(QStringList, captions);
    QFETCH(QList<QKeySequence>, shortcuts);

    QMenu* m = m_form->menuBar()->findChild<QMenu*>(menu);
    QVERIFY(m);
    QCOMPARE(m->title(), title);
    const QList<QAction*> actions = m->actions();
    QCOMPARE(actions.size(), items.size());
    for (int i = 0; i < actions.size(); ++i) {
        QCOMPARE(actions[i]->objectName(), items[i]);
        QCOMPARE(actions[i]->text(), captions[i]);
        QCOMPARE(actions[i]->shortcut(), shortcuts[i]);
    }
}

void TestForm1Layout::refreshFromTheMenu()
{
    Form1& f = *m_form;
    f.drawGrid();
    f.PictureDOT->setPixel(QPoint(20, 20), qRgb(255, 0, 0));
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QTest::keyClick(&f, Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(*f.PictureDOT->pixel(QPoint(20, 20)), qRgb(255, 255, 255));
}

void TestForm1Layout::exitClosesTheWindow()
{
    m_form->mnuexit->trigger();
    QVERIFY(!m_form->isVisible());
}

QTEST_MAIN(TestForm1Layout)
#include "tst_form1layout.moc"
