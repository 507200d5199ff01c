// The grid, painting and the glyph operations of the main window.

#include "app/Form1.h"

#include "chartable/CharTable.h"
#include "codes/CodeText.h"
#include "dots/DotGrid.h"
#include "dots/GridGeometry.h"
#include "editor/DotCanvas.h"
#include "editor/GlyphOps.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <utility>

namespace {
constexpr QRgb GridLineColour = 0xffc8c8c8; // 200, 200, 200
constexpr QRgb CanvasColour = 0xffffffff;
constexpr QRgb BaselineColour = 0xff3c78d8; // a thin blue line over the grey grid
} // namespace

GridGeometry Form1::gridGeometry() const
{
    return GridGeometry(ofsX, ofsY, endX, endY, nX, nY);
}

bool Form1::referenceShown() const
{
    return refCanvas && CheckRefChar->isChecked();
}

void Form1::layOutGrid()
{
    const GridGeometry g =
        GridGeometry::compute(SliderDotX->value(), SliderDotY->value(), CheckSquare->isChecked());
    ofsX = g.ofsX();
    ofsY = g.ofsY();
    endX = g.endX();
    endY = g.endY();
    nX = g.nX();
    nY = g.nY();
}

void Form1::drawGrid()
{
    LabelDotX->setText(QString::number(SliderDotX->value()));
    LabelDotY->setText(QString::number(SliderDotY->value()));
    layOutGrid();
    updateChr();

    // Queued input runs here and sees the new geometry and cell.  It may redraw on its own, so
    // everything below reads the state afresh.
    QCoreApplication::processEvents();

    if (bRedraw) {
        const int dotsX = SliderDotX->value();
        const int dotsY = SliderDotY->value();
        const GridGeometry now = gridGeometry();
        PictureDOT->fillBox(QRect(QPoint(0, 0), QPoint(GridGeometry::Extent, GridGeometry::Extent)),
                            CanvasColour);
        for (int i = 0; i <= dotsX; ++i) {
            const int x = now.verticalLineX(i);
            PictureDOT->drawLine(QPoint(x, ofsY), QPoint(x, endY), GridLineColour);
        }
        for (int j = 0; j <= dotsY; ++j) {
            const int y = now.horizontalLineY(j);
            PictureDOT->drawLine(QPoint(ofsX, y), QPoint(endX, y), GridLineColour);
        }
    }

    showBaseline();
    redrawChr();
    if (referenceShown()) {
        captureRefChar();
        redrawRefChar();
    }
    bRedraw = false;
}

void Form1::showBaseline()
{
    // Where the font puts it: between two dot rows with square dots, at canvas row 400 with
    // oblong ones; drawn on the pixel row above that boundary, as the grid lines are.
    QLine line;
    if (mnubaseline->isChecked()) {
        const int y = DotGrid::baselinePixel(SliderDotX->value(), SliderDotY->value(),
                                             CheckSquare->isChecked()) -
                      1;
        line = QLine(ofsX, y, endX - 1, y);
    }
    PictureDOT->setGuide(line, BaselineColour);
}

void Form1::mnubaseline_Click()
{
    showBaseline();
}

void Form1::updateChr()
{
    if (!bEditCode)
        TextCode->setText(CodeText::toHex(char_));
    if (!bEditChar) {
        TextChar->setText(CodeText::boxCharacter(char_, m_codePage));
        LabelChar->setText(TextChar->text());
    }
    placeCell();
    showPage();
}

void Form1::forEachDot(const std::function<void(int x, int y, QRgb c)>& visit) const
{
    const QImage& table = m_store.page(currentPage());
    const int dotsX = SliderDotX->value();
    const int dotsY = SliderDotY->value();
    for (int y = 0; y < dotsY; ++y) {
        for (int x = 0; x < dotsX; ++x) {
            // A cell beyond the table has no colour: shown as a clear dot.
            visit(x, y,
                  CharTable::pixel(table, QPoint(bufX + x, bufY + y))
                      .value_or(CharTable::ClearColour));
        }
    }
}

void Form1::redrawChr()
{
    const GridGeometry g = gridGeometry();
    const bool reference = referenceShown();
    // Read through the const image: the other one counts as a change.
    const DotCanvas& canvas = *PictureDOT;
    DrawnDots drawing{m_store.page(currentPage()).cacheKey(),
                      QPoint(bufX, bufY),
                      QSize(SliderDotX->value(), SliderDotY->value()),
                      g,
                      reference,
                      canvas.image().cacheKey()};
    if (drawing == m_drawnDots)
        return;
    QList<std::pair<QRect, QRgb>> boxes;
    forEachDot([&](int x, int y, QRgb c) {
        // With the reference shown, clear dots are left for it.
        if (!reference || CharTable::isSetColour(c))
            boxes.append({g.dotBox(x, y), c});
    });
    PictureDOT->fillBoxes(boxes);
    drawing.canvas = canvas.image().cacheKey();
    m_drawnDots = drawing;
}

void Form1::putDot(qint16 Button, qint16 Shift, float X, float Y)
{
    const std::optional<QPoint> hit = gridGeometry().hitDot(X, Y);
    if (hit)
        paintDot(Button, Shift, *hit);
}

void Form1::paintDot(qint16 Button, qint16 Shift, QPoint dot)
{
    if (Button == 1 || Button == 2)
        openStroke();

    std::optional<QRgb> brush;
    if (Button == 1)
        brush = CharTable::SetColour;
    else if (Button == 2)
        brush = CharTable::ClearColour;

    const GridGeometry g = gridGeometry();
    // Ctrl alone widens the brush to 3 x 3; Ctrl with Shift or Alt does not.
    const int k = Shift == 2 ? 1 : 0;
    const int page = currentPage();
    // Written through the store, which makes a double-byte page at its first dot.
    const auto write = [&](QPoint p, QRgb colour) {
        if (CharTable::setPixel(m_store.pageForWrite(page), p, colour))
            mirror(page, QRect(p, QSize(1, 1)));
    };
    for (int a = -k; a <= k; ++a) {
        for (int b = -k; b <= k; ++b) {
            const int x = dot.x() + a;
            const int y = dot.y() + b;
            if (x < 0 || x >= SliderDotX->value() || y < 0 || y >= SliderDotY->value())
                continue;
            const QPoint p(bufX + x, bufY + y);
            const QRect box = g.dotBox(x, y);
            const QImage& table = m_store.page(page);
            if (Button == 2 && referenceShown()) {
                // An erased dot shows the reference image again instead of white.
                if (CharTable::isSet(table, p)) {
                    PictureDOT->copyFrom(refCanvas->image(), box, box.topLeft());
                    write(p, CharTable::ClearColour);
                }
            } else if (brush) {
                // A cell beyond the table has no colour, so the canvas is painted but nothing
                // is stored.
                if (CharTable::pixel(table, p) != brush) {
                    PictureDOT->fillBox(box, *brush);
                    if (table.valid(p))
                        write(p, *brush);
                }
            }
        }
    }
}

void Form1::PictureDOT_MouseDown(qint16 Button, qint16 Shift, float X, float Y)
{
    putDot(Button, Shift, X, Y);
    m_dragButton = Button;
    m_dragDot = gridGeometry().dotNear(X, Y);
}

void Form1::PictureDOT_MouseMove(qint16 Button, qint16 Shift, float X, float Y)
{
    const std::optional<QPoint> from = std::exchange(m_dragDot, gridGeometry().dotNear(X, Y));
    const qint16 fromButton = std::exchange(m_dragButton, Button);
    if ((Button != 1 && Button != 2) || Button != fromButton || !from || !m_dragDot) {
        putDot(Button, Shift, X, Y);
        return;
    }
    // The pointer may have crossed several dots since its last report: every dot of the line
    // from there is painted, as a slow drag paints it; the first one was painted already.
    const QList<QPoint> dots = GlyphOps::line(*from, *m_dragDot);
    const QRect grid(0, 0, SliderDotX->value(), SliderDotY->value());
    for (qsizetype i = 1; i < dots.size(); ++i) {
        if (grid.contains(dots.at(i)))
            paintDot(Button, Shift, dots.at(i));
    }
}

QRect Form1::glyphRect() const
{
    return QRect(bufX, bufY, SliderDotX->value(), SliderDotY->value());
}

void Form1::CommandFill_Click()
{
    const int page = currentPage();
    const PixelBlock before = beginStep(page, glyphRect());
    CharTable::fillRect(m_store.pageForWrite(page), glyphRect(), CharTable::SetColour);
    mirror(page, glyphRect());
    endStep(tr("Fil"), char_, before, page);
    drawGrid();
}

void Form1::CommandClear_Click()
{
    const int page = currentPage();
    const PixelBlock before = beginStep(page, glyphRect());
    CharTable::fillRect(m_store.pageForWrite(page), glyphRect(), CharTable::ClearColour);
    mirror(page, glyphRect());
    endStep(tr("Clr"), char_, before, page);
    drawGrid();
}

void Form1::CommandRev_Click()
{
    closeStroke();
    const int page = currentPage();
    CharTable::invertRect(m_store.pageForWrite(page), glyphRect());
    mirror(page, glyphRect());
    recordInverted(tr("Rev"), char_, glyphRect(), page);
    drawGrid();
}

void Form1::CheckSquare_Click()
{
    bRedraw = true;
    drawGrid();
}

void Form1::SliderDotX_Change()
{
    SliderDotX->update();
}

void Form1::SliderDotX_Scroll()
{
    SliderDotX->update();
    bRedraw = true;
    drawGrid();
}

void Form1::SliderDotY_Change()
{
    SliderDotY->update();
}

void Form1::SliderDotY_Scroll()
{
    SliderDotY->update();
    bRedraw = true;
    drawGrid();
}

void Form1::mnurefresh_Click()
{
    bRedraw = true;
    drawGrid();
}
