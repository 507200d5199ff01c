// The reference glyph: the current character in a chosen face, drawn by the sample label and
// shown enlarged in the clear dots of the grid, so that it can be traced.

#include "app/Form1.h"

#include "app/Form2.h"
#include "chartable/CharTable.h"
#include "codes/ReferenceSample.h"
#include "dots/GridGeometry.h"
#include "editor/DotCanvas.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>

void Form1::createReference()
{
    m_form2 = std::make_unique<Form2>();
    form2 = m_form2.get();
    refCanvas = form2->PictureRefChar;

    // Square at start, and a drag never makes it larger than that.
    LabelChar->resize(LabelChar->height(), LabelChar->height());
    labelMaxW = LabelChar->width();
    labelMaxH = LabelChar->height();
    // The face of the box until the first change of it; LabelCurFace tells only after that.
    LabelChar->setFont(QFont(TextFace->text(), ReferenceSample::PointSize, QFont::Normal));
    showReferenceState();
}

void Form1::showReferenceState()
{
    // Grey on the window colour while shown, on the button face while not.
    const bool on = CheckRefChar->isChecked();
    const QPalette system = QApplication::palette();
    QPalette palette = LabelChar->palette();
    palette.setColor(QPalette::Window, system.color(on ? QPalette::Base : QPalette::Button));
    palette.setColor(QPalette::WindowText, system.color(QPalette::Dark));
    LabelChar->setPalette(palette);
    LabelChar->setEnabled(on);
    TextFace->setEnabled(on);
    LabelCurFace->setEnabled(on);
}

void Form1::captureRefChar()
{
    // The sample is rendered off screen, so no window in front of this one can spoil it.
    if (!refCanvas)
        return;
    const QImage sample = LabelChar->sample();
    refCanvas->stretchFrom(sample, ReferenceSample::capturedRect(sample.size()),
                           gridGeometry().gridRect());
}

void Form1::redrawRefChar()
{
    const GridGeometry g = gridGeometry();
    const bool reference = referenceShown();
    forEachDot([&](int x, int y, QRgb c) {
        if (CharTable::isSetColour(c))
            return;
        const QRect box = g.dotBox(x, y);
        if (reference)
            PictureDOT->copyFrom(refCanvas->image(), box, box.topLeft());
        else
            PictureDOT->fillBox(box, c);
    });
}

void Form1::CheckRefChar_Click()
{
    // Shown again, the canvas holds the last capture until the next redraw.
    redrawRefChar();
    showReferenceState();
}

void Form1::TextFace_Change()
{
    const QString face = TextFace->text();
    if (face.isEmpty())
        return;
    QFont font = LabelChar->font();
    font.setFamily(face);
    LabelChar->setFont(font);
    QCoreApplication::processEvents();
    // An unknown face is replaced by the font matching: the one really used is read back.
    const QString used = LabelChar->fontInfo().family();
    if (used == curFace)
        return;
    curFace = used;
    LabelCurFace->setText(used);
    if (referenceShown()) {
        captureRefChar();
        redrawRefChar();
    }
}

void Form1::LabelChar_MouseDown(float X, float Y)
{
    dragState = 1;
    dragX = X;
    dragY = Y;
}

void Form1::LabelChar_MouseMove(float X, float Y)
{
    if (dragState != 1)
        return;
    // The label keeps its top-left corner: moving right or down enlarges it.
    LabelChar->resize(ReferenceSample::dragged(LabelChar->size(), QPointF(X - dragX, Y - dragY),
                                               QSize(qRound(labelMaxW), qRound(labelMaxH))));
    dragX = X;
    dragY = Y;
}

void Form1::LabelChar_MouseUp(float, float)
{
    dragState = 0;
    bRedraw = true;
    drawGrid();
}
