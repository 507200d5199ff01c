// The whole-table operations of the main window and the switch that shows the table panel.

#include "app/Form1.h"

#include "app/Prompt.h"
#include "chartable/CharTable.h"
#include "editor/DotCanvas.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLayout>

void Form1::CommandAllClear_Click()
{
    if (!m_prompt->ask(QStringLiteral("すべての文字をクリアしても良いですか？")))
        return;
    const QImage before = beginStep(PictureBuf->image().rect());
    CharTable::clearAll(PictureBuf->image());
    PictureBuf->refresh();
    endStep(QStringLiteral("AllClr"), -1, before, QPoint(0, 0));
    QCoreApplication::processEvents();
    drawGrid();
}

void Form1::CommandAllFill_Click()
{
    if (!m_prompt->ask(QStringLiteral("すべての文字をフィルしても良いですか？")))
        return;
    const QImage before = beginStep(PictureBuf->image().rect());
    // The table's colours are fixed to black on white, so a fill always gives set dots.
    CharTable::fillAll(PictureBuf->image());
    PictureBuf->refresh();
    endStep(QStringLiteral("AllFil"), -1, before, QPoint(0, 0));
    QCoreApplication::processEvents();
    drawGrid();
}

void Form1::CommandAllRev_Click()
{
    closeStroke();
    CharTable::invertAll(PictureBuf->image());
    PictureBuf->refresh();
    recordInverted(QStringLiteral("AllRev"), -1, PictureBuf->image().rect());
    QCoreApplication::processEvents();
    drawGrid();
}

QList<QWidget*> Form1::tablePanelWidgets() const
{
    QList<QWidget*> panel;
    for (QWidget* w : m_client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->x() >= EditorWidth)
            panel.append(w);
    }
    return panel;
}

void Form1::CheckChrTbl_Click()
{
    // The window is 1024 or 502 pixels wide outside a 3-pixel frame: the client area is either
    // whole or ends where the table panel begins.  The panel's controls are hidden with it, so
    // that the keyboard cannot reach what cannot be seen.
    const bool shown = CheckChrTbl->isChecked();
    m_client->setFixedWidth(shown ? ClientWidth : EditorWidth);
    for (QWidget* w : tablePanelWidgets())
        w->setVisible(shown);
    layout()->activate();
    if (shown)
        PictureBuf->refresh();
}

void Form1::mnutable_Click()
{
    // Setting the box runs CheckChrTbl_Click through its change signal.
    CheckChrTbl->setChecked(!CheckChrTbl->isChecked());
}
