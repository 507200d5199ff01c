#include "app/Form1.h"

#include "app/Form2.h"
#include "app/MessageBoxPrompt.h"
#include "app/ProgramFiles.h"
#include "app/SystemDesktop.h"
#include "chartable/CharTable.h"
#include "chartable/PreviewWindow.h"
#include "chartable/TableHistory.h"
#include "editor/DotCanvas.h"
#include "ttedit/DBusAutomationHost.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QWindow>

namespace {

// Every control carries its name, so that it can be found by name (tests, accessibility).
template <typename W> W* placed(W* widget, const char* name, int x, int y, int width, int height)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, width, height);
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, int x, int y, int width,
              int height)
{
    return placed(new QLabel(caption, parent), name, x, y, width, height);
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, int x, int y,
                    int width, int height)
{
    auto* b = placed(new QPushButton(caption, parent), name, x, y, width, height);
    b->setAutoDefault(false);
    return b;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption, int x, int y,
                    int width, int height)
{
    return placed(new QCheckBox(caption, parent), name, x, y, width, height);
}

QLineEdit* textBox(QWidget* parent, const char* name, const QString& text, int x, int y, int width,
                   int height)
{
    return placed(new QLineEdit(text, parent), name, x, y, width, height);
}

QSlider* slider(QWidget* parent, const char* name, int x, int y, int minimum, int maximum,
                int pageStep, int value)
{
    auto* s = placed(new QSlider(Qt::Horizontal, parent), name, x, y, 253, 17);
    s->setRange(minimum, maximum);
    s->setSingleStep(1);
    s->setPageStep(pageStep);
    s->setValue(value);
    return s;
}

} // namespace

Form1::Form1(Prompt* prompt, AutomationHost* automation, Desktop* desktop, QWidget* parent)
    : QMainWindow(parent)
{
    if (!prompt) {
        m_ownPrompt = std::make_unique<MessageBoxPrompt>(this);
        prompt = m_ownPrompt.get();
    }
    m_prompt = prompt;
    if (!automation) {
        m_ownAutomation = std::make_unique<DBusAutomationHost>();
        automation = m_ownAutomation.get();
    }
    m_automation = automation;
    if (!desktop) {
        m_ownDesktop = std::make_unique<SystemDesktop>();
        desktop = m_ownDesktop.get();
    }
    m_desktop = desktop;
    const ProgramFiles::Folders folders = ProgramFiles::probe();
    dotsFileName = ProgramFiles::dotsFileName(folders);
    iniFileName = ProgramFiles::iniFileName(folders);
    tableFolder = ProgramFiles::tableFolder();

    setWindowTitle(QStringLiteral("Pointillo"));
    createControls();
    createReference();
    showPage();
    m_history = new TableHistory(m_store, this);
    createMenus();
    createStatusBar();
    connectHandlers();

    // Geometry consistent with the sliders before the first drawGrid.
    layOutGrid();

    // The window is as large as its client area and never resized by the user: the table
    // panel is shown and hidden by its width (CheckChrTbl_Click).
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    CheckChrTbl_Click();
    CheckSB_Click();
}

Form1::~Form1()
{
    // The history and the preview report to this window, and the children outlive it: they
    // stop reporting here.
    m_history->disconnect(this);
    if (m_preview) {
        savePreviewSettings(*SettingsTable::openUserStore());
        m_preview->disconnect(this);
    }
}

void Form1::createControls()
{
    m_client = new QWidget(this);
    m_client->setFixedSize(ClientWidth, ClientHeight);
    // The controls are laid out in pixels for a small dialog font; the desktop's larger
    // default would clip their captions.  Arial, or its metric twin where it is not installed;
    // Japanese characters from a proportional face, as on the desktops the layout was drawn
    // for: in a fixed-width one the full-width "ｒ" of ChｒTbl and the face name in the face box
    // are wider than their controls.  (A list of families takes only real ones: the alias
    // Arial alone would leave the Latin letters to the Japanese face.)
    QFont small;
    small.setFamilies(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("IPAPGothic")});
    small.setPixelSize(11);
    m_client->setFont(small);
    setCentralWidget(m_client);
    QWidget* c = m_client;

    // Row 1
    Label1 = label(c, "Label1", tr("X :"), 5, 4, 14, 15);
    SliderDotX = slider(c, "SliderDotX", 24, 0, 3, 32, 5, 12);
    LabelDotX = label(c, "LabelDotX", QStringLiteral("12"), 280, 4, 17, 17);
    CheckSquare = checkBox(c, "CheckSquare", tr("Square"), 308, 0, 57, 17);
    CheckSquare->setToolTip(tr("ドットを正方形にする"));
    CheckSquare->setChecked(true);
    CheckRefChar = checkBox(c, "CheckRefChar", tr("RefferOtherFont"), 368, 0, 121, 17);
    CheckRefChar->setToolTip(tr("文字見本を表示する"));
    CommandAllClear = button(c, "CommandAllClear", tr("AllClr"), 864, 0, 49, 17);
    CommandAllClear->setToolTip(tr("キャラクタテーブルのデータを全てクリア"));
    CommandAllFill = button(c, "CommandAllFill", tr("AllFil"), 912, 0, 49, 17);
    CommandAllRev = button(c, "CommandAllRev", tr("AllRev"), 960, 0, 49, 17);

    // Row 2
    Label2 = label(c, "Label2", tr("Y :"), 5, 20, 13, 15);
    SliderDotY = slider(c, "SliderDotY", 24, 16, 3, 32, 5, 20);
    LabelDotY = label(c, "LabelDotY", QStringLiteral("20"), 280, 20, 17, 17);
    CheckSB = checkBox(c, "CheckSB", tr("SetSB"), 308, 16, 57, 17);
    CheckSB->setToolTip(tr("TTEditへの読み込み時にサイドベアリングを設定"));
    LabelChar = placed(new SampleLabel(c), "LabelChar", 368, 16, 37, 37);
    LabelChar->setToolTip(tr("文字見本"));
    TextFace = textBox(c, "TextFace", QStringLiteral("ＭＳ Ｐゴシック"), 408, 16, 81, 18);
    TextFace->setToolTip(tr("参照するフォントのフェイス名"));
    LabelCurChar = label(c, "LabelCurChar", QStringLiteral("-"), 496, 24, 113, 17);
    LabelCurChar->setFont(QFont(QStringLiteral("Arial")));
    LabelCurChar->setTextFormat(Qt::PlainText); // "&" and "<" are characters like any other
    TextBufFileName =
        textBox(c, "TextBufFileName", QStringLiteral("ptl_buf.bmp"), 752, 24, 129, 18);
    CommandSave = button(c, "CommandSave", tr("Save"), 888, 24, 41, 17);
    CommandSave->setToolTip(tr("キャラクタテーブルのデータを保存"));
    CheckAutoSave = checkBox(c, "CheckAutoSave", tr("AutoSave"), 936, 24, 73, 17);
    CheckAutoSave->setChecked(true);

    // Row 3
    Label3 = label(c, "Label3", tr("S :"), 5, 36, 14, 15);
    SliderSize = slider(c, "SliderSize", 24, 32, 1, 100, 10, 100);
    LabelSize = label(c, "LabelSize", QStringLiteral("100%"), 280, 36, 24, 12);
    QFont narrow = small;
    narrow.setPixelSize(9); // "100%" fits the label's 24 pixels
    LabelSize->setFont(narrow);
    CheckChrTbl = checkBox(c, "CheckChrTbl", tr("ChｒTbl"), 308, 32, 57, 17);
    CheckChrTbl->setChecked(true);
    LabelCurFace = label(c, "LabelCurFace", QStringLiteral("-"), 411, 39, 81, 17);
    LabelCurFace->setToolTip(tr("実際に表示されているフォントのフェイス名"));

    // Row 4: the code boxes and the buttons
    const QFont arial9(QStringLiteral("Arial"), 9);
    TextChar = textBox(c, "TextChar", QString(), 8, 56, 25, 18);
    TextChar->setMaxLength(2);
    TextChar->setFont(arial9);
    TextChar->setToolTip(tr("文字"));
    TextCode = textBox(c, "TextCode", QString(), 32, 56, 41, 18);
    TextCode->setMaxLength(4);
    TextCode->setFont(arial9);
    TextCode->setToolTip(tr("文字コード"));
    TextCode->setAttribute(Qt::WA_InputMethodEnabled, false);
    CommandPrev = button(c, "CommandPrev", QStringLiteral("<<"), 72, 56, 33, 17);
    CommandPrev->setToolTip(tr("前の文字"));
    CommandNext = button(c, "CommandNext", QStringLiteral(">>"), 104, 56, 33, 17);
    CommandNext->setToolTip(tr("次の文字"));
    CommandTTEdit = button(c, "CommandTTEdit", tr("TTEdit"), 136, 56, 73, 17);
    CommandTTEdit->setToolTip(tr("TTEditへ文字の読み込み"));
    CommandScanAll = button(c, "CommandScanAll", tr("A.Scan"), 216, 56, 49, 17);
    CommandScanAll->setToolTip(tr("複数文字をまとめて処理"));
    LabelSB = label(c, "LabelSB", tr("SB : "), 272, 60, 25, 17);
    TextLSB = textBox(c, "TextLSB", QStringLiteral("20"), 296, 56, 33, 18);
    TextLSB->setToolTip(tr("左サイドベアリング"));
    TextRSB = textBox(c, "TextRSB", QStringLiteral("20"), 328, 56, 33, 18);
    TextRSB->setToolTip(tr("右サイドベアリング"));
    CommandClear = button(c, "CommandClear", tr("Clr"), 368, 56, 41, 17);
    CommandClear->setToolTip(tr("全ドットのクリア"));
    CommandFill = button(c, "CommandFill", tr("Fil"), 408, 56, 41, 17);
    CommandFill->setToolTip(tr("全ドットのフィル"));
    CommandRev = button(c, "CommandRev", tr("Rev"), 448, 56, 41, 17);

    // The canvases.  The grid uses 0 to 480 of the glyph canvas; the rest is margin.
    PictureDOT = placed(new DotCanvas(c), "PictureDOT", 8, 80, 482, 482);
    PictureDOT->setCanvasSize(QSize(482, 482));
    PictureBuf = placed(new DotCanvas(c), "PictureBuf", 496, 48, 512, 512);
    PictureBuf->setCanvasSize(QSize(CharTable::Size, CharTable::Size));
    // Faint lines between the cells to aim at, drawn over the page, never into it.
    PictureBuf->setCellLines(QSize(CharTable::CellSize, CharTable::CellSize), QColor(0, 0, 0, 36));

    LabelInfo = label(c, "LabelInfo", QString(), 8, 568, 417, 17);
}

void Form1::createMenus()
{
    auto item = [](QMenu* menu, const char* name, const QString& caption,
                   QKeySequence shortcut = {}) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(shortcut);
        return action;
    };

    mnufile = menuBar()->addMenu(tr("&File"));
    mnufile->setObjectName(QStringLiteral("mnufile"));
    mnusave = item(mnufile, "mnusave", tr("save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    mnusavesetting = item(mnufile, "mnusavesetting", tr("save setting"));
    mnuloadsetting = item(mnufile, "mnuloadsetting", tr("load setting"));
    mnudefault = item(mnufile, "mnudefault", tr("reset to default setting"));
    mnufile->addSeparator();
    mnuimportfont = item(mnufile, "mnuimportfont", tr("import font..."));
    mnuexportbdf = item(mnufile, "mnuexportbdf", tr("export BDF..."));
    mnufile->addSeparator();
    mnuexit = item(mnufile, "mnuexit", tr("exit"));

    mnuedit = menuBar()->addMenu(tr("&Edit"));
    mnuedit->setObjectName(QStringLiteral("mnuedit"));
    // The history of the glyphs and the table.  A text box with focus keeps these keys for its
    // own text.
    mnuundo = item(mnuedit, "mnuundo", tr("undo"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuredo = item(mnuedit, "mnuredo", tr("redo"));
    mnuredo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    mnuedit->addSeparator();
    mnuprevchar = item(mnuedit, "mnuprevchar", tr("prev char"), QKeySequence(Qt::CTRL | Qt::Key_P));
    mnunextchar = item(mnuedit, "mnunextchar", tr("next char"), QKeySequence(Qt::CTRL | Qt::Key_N));
    // The pages of double-byte codes; Page Up and Page Down on the table panel do the same.
    mnuprevpage =
        item(mnuedit, "mnuprevpage", tr("prev page"), QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    mnunextpage =
        item(mnuedit, "mnunextpage", tr("next page"), QKeySequence(Qt::CTRL | Qt::Key_PageDown));
    mnuttedit = item(mnuedit, "mnuttedit", tr("ttedit"), QKeySequence(Qt::CTRL | Qt::Key_T));
    mnusendall = item(mnuedit, "mnusendall", tr("send all glyphs"));
    createToolItems();

    mnuview = menuBar()->addMenu(tr("&View"));
    mnuview->setObjectName(QStringLiteral("mnuview"));
    mnurefresh = item(mnuview, "mnurefresh", tr("refresh"), QKeySequence(Qt::CTRL | Qt::Key_R));
    mnubaseline = item(mnuview, "mnubaseline", tr("baseline"));
    mnubaseline->setCheckable(true);
    mnubaseline->setChecked(true);

    mnuwindow = menuBar()->addMenu(tr("&Window"));
    mnuwindow->setObjectName(QStringLiteral("mnuwindow"));
    // Ctrl+C is the window's shortcut; a text box with focus keeps it for copying.
    mnutable = item(mnuwindow, "mnutable", tr("char table"), QKeySequence(Qt::CTRL | Qt::Key_C));
    mnupreview = item(mnuwindow, "mnupreview", tr("preview"));

    mnuhelp = menuBar()->addMenu(tr("&Help"));
    mnuhelp->setObjectName(QStringLiteral("mnuhelp"));
    mnuabout = item(mnuhelp, "mnuabout", tr("about..."));
    mnumarrowby = item(mnuhelp, "mnumarrowby", tr("go to marrowby..."));
}

void Form1::connectHandlers()
{
    // The user's moves of a slider (drag, click, keys, wheel) are its Scroll event; every
    // change of the value, the program's included, is its Change event.  The value is
    // committed before the handler reads it.
    const auto connectScroll = [this](QSlider* slider, void (Form1::*scroll)()) {
        connect(slider, &QSlider::actionTriggered, this, [this, slider, scroll] {
            slider->setValue(slider->sliderPosition());
            // A press on the groove starts the slider's repeat only after this returns.  The
            // handler lets events run, and a release among them would go by before the repeat
            // it ends, which would then page on and redraw for ever, putting the code box
            // back at every step.  While a button is held the handler waits for the event loop.
            if (QGuiApplication::mouseButtons() != Qt::NoButton)
                QMetaObject::invokeMethod(this, scroll, Qt::QueuedConnection);
            else
                (this->*scroll)();
        });
    };
    connectScroll(SliderDotX, &Form1::SliderDotX_Scroll);
    connect(SliderDotX, &QSlider::valueChanged, this, &Form1::SliderDotX_Change);
    connectScroll(SliderDotY, &Form1::SliderDotY_Scroll);
    connect(SliderDotY, &QSlider::valueChanged, this, &Form1::SliderDotY_Change);

    // A check box's click runs whenever its value changes, by the user or the program.
    connect(CheckSquare, &QCheckBox::toggled, this, &Form1::CheckSquare_Click);
    connect(CheckChrTbl, &QCheckBox::toggled, this, &Form1::CheckChrTbl_Click);
    connect(CheckRefChar, &QCheckBox::toggled, this, &Form1::CheckRefChar_Click);
    connect(TextFace, &QLineEdit::textChanged, this, &Form1::TextFace_Change);
    connect(LabelChar, &SampleLabel::mouseDown, this, &Form1::LabelChar_MouseDown);
    connect(LabelChar, &SampleLabel::mouseMove, this, &Form1::LabelChar_MouseMove);
    connect(LabelChar, &SampleLabel::mouseUp, this, &Form1::LabelChar_MouseUp);

    connect(PictureDOT, &DotCanvas::mouseDown, this, &Form1::PictureDOT_MouseDown);
    connect(PictureDOT, &DotCanvas::mouseMove, this, &Form1::PictureDOT_MouseMove);
    connect(PictureBuf, &DotCanvas::mouseDown, this, &Form1::PictureBuf_MouseDown);
    connect(PictureBuf, &DotCanvas::mouseMove, this, &Form1::PictureBuf_MouseMove);
    connect(PictureDOT, &DotCanvas::mouseUp, this, &Form1::PictureDOT_MouseUp);

    connect(CommandFill, &QPushButton::clicked, this, &Form1::CommandFill_Click);
    connect(CommandClear, &QPushButton::clicked, this, &Form1::CommandClear_Click);
    connect(CommandRev, &QPushButton::clicked, this, &Form1::CommandRev_Click);
    connect(CommandAllClear, &QPushButton::clicked, this, &Form1::CommandAllClear_Click);
    connect(CommandAllFill, &QPushButton::clicked, this, &Form1::CommandAllFill_Click);
    connect(CommandAllRev, &QPushButton::clicked, this, &Form1::CommandAllRev_Click);
    connect(CommandSave, &QPushButton::clicked, this, &Form1::CommandSave_Click);
    connect(mnusave, &QAction::triggered, this, &Form1::mnusave_Click);

    connectScroll(SliderSize, &Form1::SliderSize_Scroll);
    connect(CheckSB, &QCheckBox::toggled, this, &Form1::CheckSB_Click);

    // Writing a box from code runs its change handling at once, as typing does.
    connect(TextCode, &QLineEdit::textChanged, this, &Form1::TextCode_Change);
    connect(TextChar, &QLineEdit::textChanged, this, &Form1::TextChar_Change);
    // Key presses reach the handlers before the box sees them; lost focus too.
    TextCode->installEventFilter(this);
    TextChar->installEventFilter(this);

    connect(CommandNext, &QPushButton::clicked, this, &Form1::CommandNext_Click);
    connect(CommandPrev, &QPushButton::clicked, this, &Form1::CommandPrev_Click);
    connect(CommandTTEdit, &QPushButton::clicked, this, &Form1::CommandTTEdit_Click);
    connect(mnunextchar, &QAction::triggered, this, &Form1::mnunextchar_Click);
    connect(mnuprevchar, &QAction::triggered, this, &Form1::mnuprevchar_Click);
    connect(mnuttedit, &QAction::triggered, this, &Form1::mnuttedit_Click);
    connect(CommandScanAll, &QPushButton::clicked, this, &Form1::CommandScanAll_Click);
    connect(mnusendall, &QAction::triggered, this, &Form1::mnusendall_Click);
    connect(mnuprevpage, &QAction::triggered, this, &Form1::mnuprevpage_Click);
    connect(mnunextpage, &QAction::triggered, this, &Form1::mnunextpage_Click);
    PictureBuf->installEventFilter(this);

    connect(mnurefresh, &QAction::triggered, this, &Form1::mnurefresh_Click);
    connect(mnubaseline, &QAction::toggled, this, &Form1::mnubaseline_Click);
    connect(mnutable, &QAction::triggered, this, &Form1::mnutable_Click);
    connect(mnusavesetting, &QAction::triggered, this, &Form1::mnusavesetting_Click);
    connect(mnuloadsetting, &QAction::triggered, this, &Form1::mnuloadsetting_Click);
    connect(mnudefault, &QAction::triggered, this, &Form1::mnudefault_Click);
    connect(mnuexit, &QAction::triggered, this, &Form1::mnuexit_Click);
    connect(mnuabout, &QAction::triggered, this, &Form1::mnuabout_Click);
    connect(mnumarrowby, &QAction::triggered, this, &Form1::mnumarrowby_Click);

    // Which window of the program was active before decides whether this one's activation
    // runs again.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &Form1::focusWindowChanged);

    connect(mnuundo, &QAction::triggered, this, &Form1::mnuundo_Click);
    connect(mnuredo, &QAction::triggered, this, &Form1::mnuredo_Click);
    connect(m_history, &QUndoStack::canUndoChanged, this, &Form1::updateHistoryItems);
    connect(m_history, &QUndoStack::canRedoChanged, this, &Form1::updateHistoryItems);
    connect(m_history, &QUndoStack::undoTextChanged, this, &Form1::updateHistoryItems);
    connect(m_history, &QUndoStack::redoTextChanged, this, &Form1::updateHistoryItems);
    updateHistoryItems();
    for (QLineEdit* box : m_client->findChildren<QLineEdit*>())
        box->installEventFilter(this);

    connect(mnupreview, &QAction::triggered, this, &Form1::mnupreview_Click);
    connect(mnuimportfont, &QAction::triggered, this, &Form1::mnuimportfont_Click);
    connect(mnuexportbdf, &QAction::triggered, this, &Form1::mnuexportbdf_Click);
    // The preview follows every change of the table and of the glyph size.
    connect(PictureBuf, &DotCanvas::refreshed, this, &Form1::updatePreview);
    connect(SliderDotX, &QSlider::valueChanged, this, &Form1::updatePreview);
    connect(SliderDotY, &QSlider::valueChanged, this, &Form1::updatePreview);
    // And its spacing follows the side bearings and the dot shape, as the font's does.
    connect(CheckSquare, &QCheckBox::toggled, this, &Form1::updatePreview);
    connect(CheckSB, &QCheckBox::toggled, this, &Form1::updatePreview);
    connect(TextLSB, &QLineEdit::textChanged, this, &Form1::updatePreview);
    connect(TextRSB, &QLineEdit::textChanged, this, &Form1::updatePreview);
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (textBoxKeepsKeys(watched, event) || codeBoxEvent(watched, event) ||
        panelKeyEvent(watched, event) || statusLineEvent(watched, event))
        return true;
    return QMainWindow::eventFilter(watched, event);
}
