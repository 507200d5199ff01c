#pragma once

#include <QMainWindow>
#include <QString>
#include <memory>

class DotCanvas;
class GridGeometry;
class Prompt;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSlider;

// The main window: it owns the editor state and every control, and its handlers stay thin over
// the plain rules (GridGeometry, CharTable).  The handlers are split by concern across files:
// Form1.cpp builds the window, editor/Form1_Grid.cpp holds the grid, painting and glyph
// operations, chartable/Form1_Table.cpp the whole-table operations and the table panel.
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
    explicit Form1(Prompt* prompt = nullptr, QWidget* parent = nullptr);
    ~Form1() override;

    Prompt& prompt() { return *m_prompt; }

    // --- Editor state ---------------------------------------------------------------------
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
    qint32 bufX = 0; // top-left pixel of the current code's cell in PictureBuf
    qint32 bufY = 0;

    bool bRedraw = true;    // the next drawGrid rebuilds the grid lines
    bool bEditCode = false; // TextCode is the source of the change: updateChr leaves it alone
    bool bEditChar = false; // TextChar is: updateChr leaves TextChar and LabelChar alone
    bool bFirstActivate = true;
    bool bLoading = false;
    QString dotsFileName;
    QString iniFileName;

    // The reference canvas of the hidden reference window, once that exists.  Without it the
    // reference counts as off whatever CheckRefChar says.
    DotCanvas* refCanvas = nullptr;

    // --- Controls -------------------------------------------------------------------------
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
    QLabel* LabelChar = nullptr;
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
    QAction* mnuexit = nullptr;
    QMenu* mnuedit = nullptr;
    QAction* mnuprevchar = nullptr;
    QAction* mnunextchar = nullptr;
    QAction* mnuttedit = nullptr;
    QMenu* mnuview = nullptr;
    QAction* mnurefresh = nullptr;
    QMenu* mnuwindow = nullptr;
    QAction* mnutable = nullptr;
    QMenu* mnuhelp = nullptr;
    QAction* mnuabout = nullptr;
    QAction* mnumarrowby = nullptr;

    // --- Grid, painting and glyph operations (editor/Form1_Grid.cpp) ------------------------
    // The single redraw entry point: labels, geometry, code echo, grid lines when bRedraw is
    // set, then the dots.  Lets pending events run once on the way.
    void drawGrid();
    // Draws every dot of the current glyph from its table cell.
    void redrawChr();
    // Applies one mouse position to the glyph: Button 1 sets, 2 clears, Ctrl alone paints a
    // 3 x 3 block.
    void putDot(qint16 Button, qint16 Shift, float X, float Y);

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

    // --- Character table (chartable/Form1_Table.cpp) ---------------------------------------
    void CommandAllClear_Click();
    void CommandAllFill_Click();
    void CommandAllRev_Click();
    // Shows the table panel (wide window) when CheckChrTbl is checked, else hides it.
    void CheckChrTbl_Click();
    void mnutable_Click();

private:
    void createControls();
    void createMenus();
    void connectHandlers();

    // editor/Form1_Grid.cpp
    void updateChr();
    GridGeometry gridGeometry() const;
    bool referenceShown() const;
    QRect glyphRect() const; // the current glyph's pixels in the table

    // chartable/Form1_Table.cpp
    QList<QWidget*> tablePanelWidgets() const;

    std::unique_ptr<Prompt> m_ownPrompt;
    Prompt* m_prompt = nullptr;
    QWidget* m_client = nullptr;
};
