#include "app/DialogAutoScanning.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

DialogAutoScanning::DialogAutoScanning(bool& bCancel, QWidget* owner)
    : QDialog(owner)
    , m_bCancel(bCancel)
{
    setObjectName(QStringLiteral("DialogAutoScanning"));
    setWindowTitle(tr("Auto Scanning"));

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setMinimumWidth(300);
    CancelButton = new QPushButton(tr("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ProgressBar1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(CancelButton, &QPushButton::clicked, this, &DialogAutoScanning::CancelButton_Click);
}

void DialogAutoScanning::CancelButton_Click()
{
    m_bCancel = true;
}

void DialogAutoScanning::reject()
{
    CancelButton_Click();
}

void DialogAutoScanning::closeEvent(QCloseEvent* event)
{
    // While a run shows the window, it stays until the run ends; hidden, it may go.
    if (isVisible()) {
        CancelButton_Click();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
