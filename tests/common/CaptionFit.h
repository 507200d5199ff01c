#pragma once

#include <QString>

class QWidget;

// Whether a control's caption fits the room its style leaves for text, in the fonts of this
// machine: check boxes, buttons, text boxes and labels (not the sample label, whose text is
// drawn to its size).
class CaptionFit
{
public:
    // "Name "caption": W x H in w x h" when the caption does not fit, empty when it does or
    // the widget has no caption.
    static QString clipped(QWidget* w);
};
