#include "common/CaptionFit.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>

QString CaptionFit::clipped(QWidget* w)
{
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
    } else if (auto* label = qobject_cast<QLabel*>(w); label && w->objectName() != u"LabelChar") {
        text = label->text();
        room = label->contentsRect();
    } else {
        return {};
    }
    const int width = w->fontMetrics().horizontalAdvance(text);
    const int height = w->fontMetrics().height();
    if (width <= room.width() && height <= room.height() + 2)
        return {};
    return QStringLiteral("%1 \"%2\": %3 x %4 in %5 x %6")
        .arg(w->objectName(), text)
        .arg(width)
        .arg(height)
        .arg(room.width())
        .arg(room.height());
}
