#pragma once

#include "app/SettingsTable.h"
#include "app/StatusText.h"
#include "chartable/BdfFont.h"
#include "chartable/GlyphStore.h"
#include "chartable/PageFiles.h"
#include "chartable/PixelBlock.h"
#include "chartable/TableFile.h"
#include "codes/CodeText.h"
#include "codes/SampleLabel.h"
#include "editor/GlyphOps.h"
#include "ttedit/AutomationObject.h"

#include <QMainWindow>
#include <QMap>
#include <QRgb>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class Desktop;
class DialogAutoScanning;
class DialogScanAll;
class DotCanvas;
class Form2;
class GridGeometry;
class PreviewWindow;
class Prompt;
class QAction;
class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSlider;
class QSettings;
class QWindow;
class TableHistory;

// The main window: it owns the editor state and every control, and its handlers stay thin over
// the plain rules of the folders below src/app (GridGeometry, GlyphStore, CodeText, DotsBitmap),
// which never include this one.  The handlers are split by concern across files beside this
// one: Form1.cpp builds the window, Form1_Grid.cpp holds the grid, painting and glyph
// operations, Form1_Table.cpp the whole-table operations, the table panel and the table file,
// Form1_Pages.cpp the page of the glyph store the panel shows, the stepping between pages and
// the pages' files, Form1_Codes.cpp the code and character boxes and the stepping through the
// font's codes,
// Form1_Reference.cpp the reference glyph behind the grid, Form1_TTEdit.cpp the connection to
// the font server and the glyph export, Form1_History.cpp the undo history of the table,
// Form1_Preview.cpp the preview window, Form1_Batch.cpp the batch run over a code range,
// Form1_Help.cpp the Help menu, Form1_Fonts.cpp the import of fonts and the export of BDF,
// Form1_Tools.cpp the glyph tools (flips, rotation, moves, the clipboard, send and next),
// Form1_Settings.cpp the remembered settings, Form1_Life.cpp the start-up, the activations and
// the exit, Form1_Status.cpp the status bar.
//
// Controls and state are public members under their established names, so that the other
// windows and the tests reach them directly.
class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    // The client area below the menu bar, and the width that leaves only the editor part.
    static constexpr int ClientWidth = 1018;
    static constexpr int ClientHeight = 584;
    static constexpr int EditorWidth = 496;

    // prompt shows every message box; null gives a QMessageBox prompt owned by the window.
    // automation gives the font server's objects; null gives the D-Bus one, owned by the
    // window.  desktop starts other programs and opens web pages; null gives the real one.
    explicit Form1(Prompt* prompt = nullptr, AutomationHost* automation = nullptr,
                   Desktop* desktop = nullptr, QWidget* parent = nullptr);
    ~Form1() override;

    Prompt& prompt() { return *m_prompt; }
    AutomationHost& automation() { return *m_automation; }
    Desktop& desktop() { return *m_desktop; }

    // --- Editor state ---------------------------------------------------------------------------
    qint32 char_ = 33; // current character code
    qint32 startchar = 32;
    qint32 endchar = 126;
    bool bCancel = false;

    qint32 ofsX = 0; // grid rectangle on PictureDOT, and the dot pitch
    qint32 ofsY = 0;
    qint32 endX = 480;
    qint32 endY = 480;
    qint32 nX = 40;
    qint32 nY = 24;
    qint32 bufX = 0; // top-left pixel of the current code's cell in its page (currentPage)
    qint32 bufY = 0;

    bool bRedraw = true;    // the next drawGrid rebuilds the grid lines
    bool bEditCode = false; // TextCode is the source of the change: updateChr leaves it alone
    bool bEditChar = false; // TextChar is: updateChr leaves TextChar and LabelChar alone
    bool bTrimChar = false; // TextChar is being cut to one character: its change handling waits
    bool bFirstActivate = true;
    bool bLoading = false;
    QString dotsFileName; // the glyph bitmap the export writes (ProgramFiles)
    QString iniFileName;  // the settings file beside the program
    QString tableFolder;  // where a relative table file name is (ProgramFiles::tableFolder)
    // The page files (PageFiles) the start could not read, by their absolute names: the first
    // save to them keeps them aside instead of writing over glyphs the user may still want.
    QStringList unreadPageFiles;

    // --- Font server state ----------------------------------------------------------------------
    AutomationPtr ttApp;      // the application object, attached afresh by every SetupTTEdit
    AutomationPtr ttDoc;      // the active font; kept when the server cannot be reached
    qint32 fontKind = 0;      // 0 not known, 1 single-byte (Western), 2 double-byte (Japanese)
    bool bAskSave = false;    // this run created the font, or took one opened at its question
    bool bInteractive = true; // false while a batch exports: no set-up and no redraw per glyph
    // The code page the characters are shown and read in: the last font's own, 1252 for a
    // Western one, else 932 (also before any font is known).
    CodePage codePage() const { return m_codePage; }

    // --- Reference glyph ------------------------------------------------------------------------
    // The hidden window and its canvas PictureRefChar, the reference behind the grid.  Without
    // a reference canvas the reference counts as off whatever CheckRefChar says.
    Form2* form2 = nullptr;
    DotCanvas* refCanvas = nullptr;
    QString curFace;      // the face the sample label's font really has, after the last change
    qint32 dragState = 0; // 1 while a button is held on the sample label
    double dragX = 0;     // the pointer at the label's previous mouse event, in its pixels
    double dragY = 0;
    double labelMaxW = 0; // the label's size at start, the most a drag makes of it
    double labelMaxH = 0;

    // --- Controls -------------------------------------------------------------------------------
    QLabel* Label1 = nullptr;
    QSlider* SliderDotX = nullptr;
    QLabel* LabelDotX = nullptr;
    QCheckBox* CheckSquare = nullptr;
    QCheckBox* CheckRefChar = nullptr;
    QPushButton* CommandAllClear = nullptr;
    QPushButton* CommandAllFill = nullptr;
    QPushButton* CommandAllRev = nullptr;
    QLabel* Label2 = nullptr;
    QSlider* SliderDotY = nullptr;
    QLabel* LabelDotY = nullptr;
    QCheckBox* CheckSB = nullptr;
    SampleLabel* LabelChar = nullptr;
    QLineEdit* TextFace = nullptr;
    QLabel* LabelCurChar = nullptr;
    QLineEdit* TextBufFileName = nullptr;
    QPushButton* CommandSave = nullptr;
    QCheckBox* CheckAutoSave = nullptr;
    QLabel* Label3 = nullptr;
    QSlider* SliderSize = nullptr;
    QLabel* LabelSize = nullptr;
    QCheckBox* CheckChrTbl = nullptr;
    QLabel* LabelCurFace = nullptr;
    QLineEdit* TextChar = nullptr;
    QLineEdit* TextCode = nullptr;
    QPushButton* CommandPrev = nullptr;
    QPushButton* CommandNext = nullptr;
    QPushButton* CommandTTEdit = nullptr;
    QPushButton* CommandScanAll = nullptr;
    QLabel* LabelSB = nullptr;
    QLineEdit* TextLSB = nullptr;
    QLineEdit* TextRSB = nullptr;
    QPushButton* CommandClear = nullptr;
    QPushButton* CommandFill = nullptr;
    QPushButton* CommandRev = nullptr;
    DotCanvas* PictureDOT = nullptr;
    DotCanvas* PictureBuf = nullptr;
    QLabel* LabelInfo = nullptr;

    QMenu* mnufile = nullptr;
    QAction* mnusave = nullptr;
    QAction* mnusavesetting = nullptr;
    QAction* mnuloadsetting = nullptr;
    QAction* mnudefault = nullptr;
    QAction* mnuimportfont = nullptr;
    QAction* mnuexportbdf = nullptr;
    QAction* mnuexit = nullptr;
    QMenu* mnuedit = nullptr;
    QAction* mnuundo = nullptr;
    QAction* mnuredo = nullptr;
    QAction* mnuprevchar = nullptr;
    QAction* mnunextchar = nullptr;
    QAction* mnuprevpage = nullptr;
    QAction* mnunextpage = nullptr;
    QAction* mnuttedit = nullptr;
    QAction* mnusendall = nullptr;
    QAction* mnufliph = nullptr; // the glyph tools, beyond the specified menus
    QAction* mnuflipv = nullptr;
    QAction* mnurotate = nullptr;
    QAction* mnumoveup = nullptr;
    QAction* mnumovedown = nullptr;
    QAction* mnumoveleft = nullptr;
    QAction* mnumoveright = nullptr;
    QAction* mnucopyglyph = nullptr;
    QAction* mnupasteglyph = nullptr;
    QAction* mnusendnext = nullptr;
    QMenu* mnuview = nullptr;
    QAction* mnurefresh = nullptr;
    QAction* mnubaseline = nullptr; // beyond the specified menus: the font's baseline on the grid
    QMenu* mnuwindow = nullptr;
    QAction* mnutable = nullptr;
    QAction* mnupreview = nullptr;
    QMenu* mnuhelp = nullptr;
    QAction* mnuabout = nullptr;
    QAction* mnumarrowby = nullptr;

    // --- Status bar (Form1_Status.cpp) ----------------------------------------------------------
    // Puts one short line on the status bar saying what a command did ("Sent 41 A to
    // MyPixel", "Table saved to ..."); it stays until the next one.  Failures are told in
    // message boxes instead.
    void say(const QString& text);
    // The last line said, whole (the bar shortens what does not fit).
    QString said() const { return m_said; }
    QLabel* StatusLine = nullptr; // the line of say()
    QLabel* StatusFont = nullptr; // the permanent part: the font the glyphs go to
    // The status bar's height, fixed: the client area keeps its place above it.
    static constexpr int StatusBarHeight = 20;

    // --- Grid, painting and glyph operations (Form1_Grid.cpp) -----------------------------------
    // The single redraw entry point: labels, geometry, code echo, grid lines when bRedraw is
    // set, then the dots.  Lets pending events run once on the way.
    void drawGrid();
    // Draws every dot of the current glyph from its table cell.
    void redrawChr();
    // Applies one mouse position to the glyph: Button 1 sets, 2 clears, Ctrl alone paints a
    // 3 x 3 block.
    void putDot(qint16 Button, qint16 Shift, float X, float Y);
    // A press paints its dot; a move with the same button held paints every dot on the line
    // from the previous report's dot to its own, so a fast drag leaves no gaps.
    void PictureDOT_MouseDown(qint16 Button, qint16 Shift, float X, float Y);
    void PictureDOT_MouseMove(qint16 Button, qint16 Shift, float X, float Y);
    void CommandFill_Click();
    void CommandClear_Click();
    void CommandRev_Click();
    void CheckSquare_Click();
    void SliderDotX_Change();
    void SliderDotX_Scroll();
    void SliderDotY_Change();
    void SliderDotY_Scroll();
    void mnurefresh_Click();
    void mnubaseline_Click();

    // --- Start-up, activation and exit (Form1_Life.cpp) ------------------------------------------
    // Loading, before the window is first shown: the information line, then the settings from
    // iniFileName and the user's store.  The window's construction reads no file, so that a
    // second copy of the program, or a test, can make one without touching the stores.
    void Form_Load();
    // Activation of the window: on the first one the character table file is loaded, then the
    // grid is drawn and the font server set up, shown on the first one.  It runs again, the
    // server not shown, when the window becomes active after another window of this program
    // (not a message box, not another application's window).
    void Form_Activate();
    // A later copy of the program was started: this one comes forward, or the dialog or
    // question it has open in front of the window.
    void comeForward();
    void mnuexit_Click();

    // --- Settings (Form1_Settings.cpp) ----------------------------------------------------------
    // Every key from the user's store, replaced by the settings file's value where it has one,
    // into its control or variable, whose own change handling runs as on a user's change.
    // bLoading is raised meanwhile: the code boxes' handling then leaves the font server alone.
    void LoadSettings();
    // Every key into both stores; a store that cannot be written is passed over.  The files
    // that took them.
    QStringList SaveSettings();
    void mnusavesetting_Click();
    void mnuloadsetting_Click();
    // The defaults into the controls, without saving.
    void mnudefault_Click();

    // --- Reference glyph (Form1_Reference.cpp) --------------------------------------------------
    // Stretches the sample label's picture, less its first row and column, onto the grid
    // rectangle of the reference canvas.
    void captureRefChar();
    // Repaints every clear dot: from the reference canvas while the reference is shown, else in
    // its table colour.
    void redrawRefChar();
    void CheckRefChar_Click();
    void TextFace_Change();
    // Dragging on the sample label resizes it; positions in the label's pixels.
    void LabelChar_MouseDown(float X, float Y);
    void LabelChar_MouseMove(float X, float Y);
    void LabelChar_MouseUp(float X, float Y);

    // --- Code and character boxes, stepping (Form1_Codes.cpp) -----------------------------------
    // The code box's key filter: true lets the key through (Backspace, 0-9, A-F, a-f).
    bool TextCode_KeyPress(int KeyAscii);
    void TextCode_Change();
    void TextCode_LostFocus();
    // A key typed into the character box in single-byte mode, as its code in codePage();
    // control codes other than Backspace change nothing.
    void TextChar_KeyPress(int KeyAscii);
    void TextChar_Change();
    void CommandNext_Click();
    void CommandPrev_Click();
    void mnunextchar_Click();
    void mnuprevchar_Click();

    // --- Font server connection and glyph export (Form1_TTEdit.cpp) -----------------------------
    // Attaches to the font server (starting it when needed), makes sure a font is open there,
    // probes its kind and adapts the character box.  False, after a message, when the server
    // cannot be reached or no font can be created.  bShow also shows the windows.
    bool SetupTTEdit(bool bShow);
    // Shows the server's window (another process: nothing to do here) and this one, without
    // moving or re-stacking either.
    void showWindows(qint32 hwnd);
    // What became of one export.  A batch counts NotInFont and Refused as skipped codes.
    enum class ExportStatus {
        Sent,        // the glyph is in the font
        Declined,    // the user kept the font's glyph of a code without a table cell
        NotWritten,  // the dots file could not be written
        NotSetUp,    // no font server, or no font in it
        NotInFont,   // the font lacks the code: nothing was sent
        Refused,     // the server refused the glyph or its side bearings
        Unreachable, // the server stopped answering on the way (gone, or timed out)
    };
    struct ExportResult
    {
        ExportResult(ExportStatus status, QString reason = {})
            : status(status)
            , reason(std::move(reason))
        {}
        explicit operator bool() const { return status == ExportStatus::Sent; }

        ExportStatus status;
        QString reason; // the server's or the connection's words, for Refused and Unreachable
    };
    // The export of the current glyph; true when it reached the font.  Interactive, every
    // outcome but Sent and Declined has been told in a message box.
    ExportResult exportGlyph();
    void CommandTTEdit_Click();
    void mnuttedit_Click();
    void SliderSize_Scroll();
    void CheckSB_Click();

    // --- Batch run over a code range (Form1_Batch.cpp) ------------------------------------------
    // The range dialog and the progress window, made at their first use and kept.
    DialogScanAll& scanAllDialog();
    DialogAutoScanning& autoScanningDialog();
    // Asks for the range, then runs it unless the dialog was cancelled.
    void CommandScanAll_Click();
    // Exports the table's glyph of every code from startchar to endchar but 127, with the
    // progress window up and the window disabled; then the editor is as before.  Codes the
    // font lacks or refuses are passed over and told in one message at the end; a server that
    // stops answering or a dots file that cannot be written ends the run.  Returns the number
    // of glyphs that reached the font.
    int scanRange();
    // Edit > send all glyphs: the same run over every code of the font whose stored glyph has a
    // set dot, single- and double-byte; nothing to send is told.
    void mnusendall_Click();
    int sendAllGlyphs();

    // --- Help menu (Form1_Help.cpp) -------------------------------------------------------------
    void mnuabout_Click();
    void mnumarrowby_Click();
    // Opens the maker's page in the web browser; nothing is said when that fails.
    void GoToMarrowby();

    // --- Character table (Form1_Table.cpp) ------------------------------------------------------
    void CommandAllClear_Click();
    void CommandAllFill_Click();
    void CommandAllRev_Click();
    // Shows the table panel (wide window) when CheckChrTbl is checked, else hides it.
    void CheckChrTbl_Click();
    void mnutable_Click();
    // A left click selects the code of the cell; a move shows the code under the pointer.
    void PictureBuf_MouseDown(qint16 Button, qint16 Shift, float X, float Y);
    void PictureBuf_MouseMove(qint16 Button, qint16 Shift, float X, float Y);
    // Moves the editor to code as a click on the code's cell does (a control code to the
    // space): the code boxes, the font server and the grid follow.
    void goToCode(qint32 code);
    // Saves the table to the file named in TextBufFileName; a failure is shown.
    void CommandSave_Click();
    void mnusave_Click();
    // Loads the table file's picture into the table through the staging surface: what fits of
    // it, the rest of the table clear.  False, with the reason in error and the table as it
    // was, when the file cannot be read.
    bool loadTable(const QString& fileName, QString* error = nullptr, QSize* size = nullptr);
    // Writes the table to its file (tableFilePath), and the double-byte pages to their files
    // beside it (PageFiles).  False, with the message to show in message, when that fails; a
    // former file is then left as it was.  A file the start could not read whole is kept aside
    // first, which the user is told.  Before the start has loaded the table nothing is written:
    // the file holds the table still.
    bool saveTable(QString* message = nullptr);
    // The table's file: the name typed in TextBufFileName, a relative one in tableFolder.
    QString tableFilePath() const;

    // --- Pages of the glyph store (Form1_Pages.cpp) ---------------------------------------------
    // Every glyph lives in the store; PictureBuf shows the current code's page.
    GlyphStore& store() { return m_store; }
    const GlyphStore& store() const { return m_store; }
    // The page of the current code's cell, the single-byte table for a code without one: the
    // page the panel shows and the glyph operations work on.
    int currentPage() const;
    // The previous or next page that the font holds (Page Up and Page Down on the panel): the
    // same cell there when its code is one, else the page's first code.
    void mnuprevpage_Click();
    void mnunextpage_Click();

    // --- Undo history of the table (Form1_History.cpp) ------------------------------------------
    // One step per painting stroke, glyph operation, whole-table operation and table load
    // (loadTable).
    TableHistory& history() { return *m_history; }
    // Takes back the newest step, or makes the next one again, and shows its glyph.
    void mnuundo_Click();
    void mnuredo_Click();
    // The end of a painting stroke: the dots it changed become one step.
    void PictureDOT_MouseUp(qint16 Button, qint16 Shift, float X, float Y);

    // --- Fonts in and out (Form1_Fonts.cpp) ----------------------------------------------------
    // File > import font... and export BDF...: a file dialog (for outlines then their pixel
    // size), then importFont or exportBdf.
    void mnuimportfont_Click();
    void mnuexportbdf_Click();
    // Fills the glyph store from a font (FontReader: BDF, PCF, TrueType, OpenType, WOFF, WOFF2,
    // gzipped or not) after a question that names the pages it replaces: the glyph size becomes
    // the font's (the sliders move as the user moves them), each glyph of a code the open font's
    // kind holds takes its cell on the font's baseline, and the cells of other codes stay; one
    // step of the history.  pixelSize is the size outlines are drawn at; OwnSize takes the
    // font's own strike, else the glyph's height.  Glyphs cut to the glyph size, and glyphs of
    // codes the kind does not hold, are told in a message.  A file that cannot be read is told
    // and changes nothing, and so does a No.  True when the store took the font.
    bool importFont(const QString& fileName, int pixelSize = 0);
    // Writes every stored glyph the open font's kind holds at the glyph size as a BDF font
    // (BdfFont::format); a failure is told in a message and leaves a former file as it was.
    bool exportBdf(const QString& fileName);

    // --- Glyph tools (Form1_Tools.cpp) ----------------------------------------------------------
    // Each changes the current glyph (its dotsX x dotsY, single- or double-byte) as one step of
    // the history; a change that leaves the glyph as it was is none.
    void mnufliph_Click();
    void mnuflipv_Click();
    // Enabled while the glyph is square.
    void mnurotate_Click();
    // Dots pushed past the edge are dropped; the freed row or column is clear.
    void mnumoveup_Click();
    void mnumovedown_Click();
    void mnumoveleft_Click();
    void mnumoveright_Click();
    // The glyph to the clipboard, as a picture (a pixel a dot, black on white) and as text art.
    void mnucopyglyph_Click();
    // The clipboard's picture, else its text art, becomes the glyph from its top-left corner,
    // cut at the glyph size; a clipboard without either changes nothing and is told.
    void mnupasteglyph_Click();
    // The export of the glyph, then the next code as Ctrl+N goes there, when the glyph was sent.
    void mnusendnext_Click();

    // --- Preview (Form1_Preview.cpp) ------------------------------------------------------------
    // Opens the preview window; null until it is first opened.
    void mnupreview_Click();
    PreviewWindow* preview() const { return m_preview; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createMenus();
    void connectHandlers();

    // Form1_Codes.cpp
    // Key presses and focus changes of the two code boxes; true when the event is swallowed.
    bool codeBoxEvent(QObject* watched, QEvent* event);
    // The character box names code: the font is moved there.  Then the box's own step, then
    // endCharacterEdit: the sample label (Backspace leaves a blank at code 32) and the redraw.
    void beginCharacterEdit(qint32 code);
    void endCharacterEdit();
    void stepCode(const QString& member);
    void refuseCharacter();

    // Form1_TTEdit.cpp
    // The export's messages, which the batch run also gives for many codes at once: codes is
    // one code or a list, in hexadecimal.
    static QString noServerMessage();
    static QString codeNotInFontMessage(const QString& codes);
    static QString refusedMessage(const QString& codes, const QString& reason);
    // The reason told for a glyph that went in without its side bearings.
    static QString bearingsNotSetReason(const QString& why);
    // getcode(0, False), and setcode(0, code, False) with the code as a 32-bit integer.
    static AutomationCall getcodeCall();
    static AutomationCall setcodeCall(qint32 code);
    // The code in a getcode answer (unsignedLong applied), nothing when the call failed.
    static std::optional<qint32> codeOf(const std::optional<QVariant>& answer);
    // The calls in order on ttDoc, answered together; all failed without a document.
    QList<std::optional<QVariant>> ttCallAll(const QList<AutomationCall>& calls);
    // setcode with the code; a failure is skipped.
    void ttSetCode(qint32 code);
    // The server's application object and, when asked in the same go, its ActiveDocument's
    // answer.
    struct Attached
    {
        AutomationPtr app;
        bool asked = false;
        std::optional<QVariant> activeDocument;
    };
    // The object of the running server with its active font, asked together: one wait.
    Attached attachServer();
    // The body of SetupTTEdit after the attach, on its own reference to the application
    // object: the document, the probe, the character box.
    bool setupDocument(const Attached& attached, bool bShow);
    void probeFontKind();
    void adaptCharacterBox();
    // The current character again in the character box, the sample label, the reference and
    // the preview, after the code page changed.
    void showCharacter();
    void showMainWindow();
    // The glyph calls of the export on ttDoc, once the font stands at char_; nothing is sent
    // to a font that does not take the code.
    ExportResult sendGlyph();
    // The export's boxes of the current glyph drawn on the grid and written to fileName, ready
    // for the import; else what ends the export: side bearings the server would refuse (told
    // when interactive), a file that cannot be written (told).
    std::optional<ExportResult> writeExport(const QString& fileName);
    // The side bearings of the boxes, as the export sends them.
    qint16 lsbValue() const;
    qint16 rsbValue() const;

    // Form1_Grid.cpp
    // Sets ofsX .. nY from the sliders and Square.
    void layOutGrid();
    void updateChr();
    // The font's baseline over the grid, while View > baseline is ticked.
    void showBaseline();
    GridGeometry gridGeometry() const;
    bool referenceShown() const;
    // Visits every dot of the current glyph, row by row, with its table colour.
    void forEachDot(const std::function<void(int x, int y, QRgb c)>& visit) const;
    QRect glyphRect() const; // the current glyph's pixels in the table
    // putDot's work at dot (x, y) of the grid.
    void paintDot(qint16 Button, qint16 Shift, QPoint dot);

    // Form1_Table.cpp
    QList<QWidget*> tablePanelWidgets() const;
    // The question before a whole-table operation: the specified one for the single-byte table,
    // one that names a double-byte page.
    QString wholePageQuestion(const QString& single, const QString& named) const;
    // The first activation's load: a missing or unreadable file leaves the table blank,
    // without a word.  The staging surface then gets its lasting size.
    void loadTableAtStart();
    // Before the first save over the file the start could not read whole (whatever name
    // reaches it): renames it aside and tells the user.  False, with the reason, when it
    // cannot be renamed.
    bool keepUnreadTableAside(const QString& fileName, QString* reason);
    // The save when the window closes with AutoSave ticked.  False when it failed and the user
    // chose to stay: the window must not close.
    bool autoSaveTable();

    // Form1_Settings.cpp
    QVariant settingValue(SettingsTable::Key key) const;
    // Into the key's control or variable; then the key's own step after it.  reset is the
    // menu's reset, whose step after the height redraws through the height's slider.
    void assignSetting(SettingsTable::Key key, const QVariant& value);
    void settingFollowUp(SettingsTable::Key key, bool reset);

    // Form1_Life.cpp
    // What a window that became the active one is to the activation rule.
    enum class WindowRole { None, Main, Form, Other };
    WindowRole roleOf(QWindow* window) const;
    void focusWindowChanged(QWindow* window);
    // The exit's question to save the font, asked when this run created the font or took it
    // and the server has it unsaved.  False, after telling why, when the save the user asked
    // for failed: the window must not close.
    bool offerFontSave();
    void closeOtherWindows();

    // Form1_Reference.cpp
    // The hidden window, the sample label's size limits and font, the enabled controls.
    void createReference();
    // Enables the reference's controls and colours the sample label for CheckRefChar.
    void showReferenceState();

    // Form1_History.cpp
    // A stroke records the cell it paints in before its first dot; a stroke still open when
    // another change begins is closed first, so that steps keep their order.
    void openStroke();
    void closeStroke();
    // Before a change of rect of page: closes a stroke and captures the page's pixels there.
    PixelBlock beginStep(int page, const QRect& rect);
    // After it: records the change from before; code -1 is the whole page.
    void endStep(const QString& text, qint32 code, const PixelBlock& before, int page);
    // The same for a change of several pages, one step: before holds each page's pixels.
    void endStep(const QString& text, const QMap<int, PixelBlock>& before);
    void recordInverted(const QString& text, qint32 code, const QRect& rect, int page);
    // Takes back the newest step, or makes the next one again; then shows the step's glyph.
    void walkHistory(bool back);
    void updateHistoryItems();
    // A text box keeps the keys of undo, redo and the glyph tools as its own keys (Shift+H types
    // an H); true when the event is taken.
    bool textBoxKeepsKeys(QObject* watched, QEvent* event);

    // Form1_Fonts.cpp
    // The kind whose codes the stored glyphs have: the open font's; while none is known the
    // one implied (by a font being imported), else the kind of the code page shown.
    FontDocument::Kind storeKind(std::optional<FontDocument::Kind> implied = {}) const;

    // Form1_Tools.cpp
    // The tools' items in the Edit menu and their handlers.
    void createToolItems();
    QList<QAction*> toolItems() const;
    void updateToolItems();
    void transformGlyph(GlyphOps::Transform t, const QAction* item);
    // dots becomes the current glyph as the step text; nothing when it has no cell or dots
    // equal it.
    void replaceGlyph(const QImage& dots, const QString& text);

    // Form1_Pages.cpp
    // bufX and bufY for char_: its cell in its page, or below the single-byte table (no pixels)
    // for a code without a cell.
    void placeCell();
    // Makes PictureBuf show currentPage() as the store holds it; nothing to do when it does.
    void showPage();
    // After a write of rect into page: PictureBuf follows when it shows the page.
    void mirror(int page, const QRect& rect);
    // The panel's read-out names a double-byte page while the pointer is not over it.
    void namePage();
    void stepPage(int direction);
    // The pages of the font's codes; the code to show of page.
    QList<int> heldPages() const;
    qint32 codeOnPage(int page) const;
    // Reads the page files beside the table file at start; the unreadable ones are remembered.
    void loadPagesAtStart(const QString& tableFile);
    // Writes the page files beside the table file, keeping the unreadable ones aside first.
    // False with the reason when a file cannot be written, removed or kept aside.
    bool savePages(const QString& tableFile, QString* reason);
    bool panelKeyEvent(QObject* watched, QEvent* event);

    // Form1_Batch.cpp
    // The batch run over the codes that codesToSend gives once the server is set up; 127 is
    // passed over, and the bar shows the position in the list.  The status bar tells the
    // outcome of the run.
    int runBatch(StatusText::Run run, const std::function<QList<qint32>()>& codesToSend);
    // The codes with a set dot in their glyph that the font holds, 127 aside.
    QList<qint32> storedCodes() const;

    // Form1_Status.cpp
    void createStatusBar();
    // The permanent part after a change of m_statusFont.
    void showFontStatus();
    // The line of say() shortened to the room it has, after a resize.
    bool statusLineEvent(QObject* watched, QEvent* event);

    // Form1_Preview.cpp
    void updatePreview();
    // The preview's sample text and placement from and into the user's store; the text back
    // to its default.
    void loadPreviewSettings(const QSettings& user);
    void savePreviewSettings(QSettings& user);
    void resetPreviewSettings();

    std::unique_ptr<Prompt> m_ownPrompt;
    Prompt* m_prompt = nullptr;
    std::unique_ptr<AutomationHost> m_ownAutomation;
    AutomationHost* m_automation = nullptr;
    std::unique_ptr<Desktop> m_ownDesktop;
    Desktop* m_desktop = nullptr;
    DialogScanAll* m_scanAll = nullptr; // children of the window
    DialogAutoScanning* m_autoScanning = nullptr;
    // A set-up is under way: its questions let events run, and a set-up started from one of
    // them (the code box's lost focus) must not ask again or drop the server from under it.
    bool m_settingUp = false;
    // The attach of the set-up that a step's redraw runs next, asked together with the step's
    // calls; taken by that set-up, dropped after the redraw.
    std::optional<Attached> m_attachedAhead;
    // What redrawChr last drew, and the canvas it left: the same dots again onto that canvas
    // are passed over (a step's nested redraws ask for one glyph twice).
    struct DrawnDots
    {
        qint64 page;
        QPoint cell;
        QSize dots;
        GridGeometry geometry;
        bool reference;
        qint64 canvas;
        bool operator==(const DrawnDots&) const = default;
    };
    std::optional<DrawnDots> m_drawnDots;
    bool m_activating = false;       // an activation runs: one started inside it has no work
    bool m_activationQueued = false; // a later activation waits for the event loop
    bool m_closing = false;          // the exit runs: its question must not start another
    bool m_closed = false;           // the window has closed: a start still under way stops
    bool m_loadingTable = false;     // the start loads the table: it is not saved meanwhile
    // The table file the start could not read, or read only in part (larger than the table).
    std::optional<TableFile::Identity> m_unreadTable;
    bool m_unreadTableLarger = false;
    WindowRole m_lastActive = WindowRole::None; // the window active before the current one
    QWidget* m_client = nullptr;
    std::unique_ptr<Form2> m_form2;

    GlyphStore m_store;
    PageFiles m_pageFiles;
    int m_viewPage = -1;        // the page PictureBuf shows
    quint64 m_viewRevision = 0; // and the store's revision of it that it shows
    bool m_labelNamesPage = false;

    TableHistory* m_history = nullptr;
    bool m_stroking = false;
    qint32 m_strokeCode = 0;
    int m_strokePage = 0;
    QPoint m_strokeAt;         // the cell's origin in the table
    PixelBlock m_strokeBefore; // the cell before the stroke's first dot
    // The dot of the drag's last pointer report (beyond the grid too) and its buttons.
    std::optional<QPoint> m_dragDot;
    qint16 m_dragButton = 0;
    PreviewWindow* m_preview = nullptr;
    bool m_previewTextReset = false; // reset before the preview was first opened
    CodePage m_codePage = CodePage::Cp932;
    QString m_said;
    StatusText::Font m_statusFont;
};
