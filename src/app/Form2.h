#pragma once

#include <QWidget>

class DotCanvas;

// The hidden window that holds the reference canvas PictureRefChar: the reference glyph in the
// glyph canvas's pixel coordinates, and the staging surface the character-table file is loaded
// through.  It is never shown.
class Form2 : public QWidget
{
    Q_OBJECT

public:
    // The canvas's side until the first activation of the main window, and after it.
    static constexpr int DesignSide = 513;
    static constexpr int ActivatedSide = 514;

    explicit Form2(QWidget* parent = nullptr);

    DotCanvas* PictureRefChar = nullptr;
};
