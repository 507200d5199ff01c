#include "app/Form2.h"

#include "editor/DotCanvas.h"

Form2::Form2(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Form2"));
    PictureRefChar = new DotCanvas(this);
    PictureRefChar->setObjectName(QStringLiteral("PictureRefChar"));
    // The background is the window colour, white, as the glyph canvas's.
    PictureRefChar->setCanvasSize(QSize(DesignSide, DesignSide));
}
