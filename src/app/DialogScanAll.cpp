#include "app/DialogScanAll.h"

#include "codes/ScanRange.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

DialogScanAll::DialogScanAll(qint32& startchar, qint32& endchar, QWidget* owner)
    : QDialog(owner)
    , m_startchar(startchar)
    , m_endchar(endchar)
{
    setObjectName(QStringLiteral("DialogScanAll"));
    setWindowTitle(tr("Character Range"));

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Label1 = new QLabel(QStringLiteral("-"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    for (QLineEdit* box : {Text1, Text2})
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
    OKButton = new QPushButton(tr("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(tr("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));

    auto* codes = new QHBoxLayout;
    codes->addWidget(Text1);
    codes->addWidget(Label1);
    codes->addWidget(Text2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(codes);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKButton, &QPushButton::clicked, this, &DialogScanAll::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &DialogScanAll::CancelButton_Click);
}

void DialogScanAll::Form_Load()
{
    Text1->setText(QString::number(m_startchar));
    Text2->setText(QString::number(m_endchar));
}

void DialogScanAll::check()
{
    const ScanRange::Range r = ScanRange::check(Text1->text(), Text2->text());
    m_startchar = r.start;
    m_endchar = r.end;
}

void DialogScanAll::OKButton_Click()
{
    check();
    ret = 1;
    done(Accepted);
}

void DialogScanAll::CancelButton_Click()
{
    check();
    ret = 2;
    done(Rejected);
}

void DialogScanAll::reject()
{
    CancelButton_Click();
}

void DialogScanAll::showEvent(QShowEvent* event)
{
    if (!m_loaded) {
        Form_Load();
        m_loaded = true;
    }
    QDialog::showEvent(event);
}

void DialogScanAll::closeEvent(QCloseEvent* event)
{
    // Closed by its frame: nothing runs, and what was typed goes with the dialog.
    m_loaded = false;
    ret = 2;
    done(Rejected);
    event->accept();
}
