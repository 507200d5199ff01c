#include "app/DialogScanAll.h"

#include "codes/CodeText.h"
#include "codes/ScanRange.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
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
    LabelHex1 = new QLabel(this);
    LabelHex1->setObjectName(QStringLiteral("LabelHex1"));
    LabelHex2 = new QLabel(this);
    LabelHex2->setObjectName(QStringLiteral("LabelHex2"));
    for (QLabel* hex : {LabelHex1, LabelHex2}) {
        // As wide as its widest text, so that the dialog keeps its size while the user types.
        hex->setMinimumWidth(hex->fontMetrics().horizontalAdvance(tr("16進 %1").arg(u"DD")));
        hex->setToolTip(tr("範囲に入る文字コード（16進）"));
    }
    OKButton = new QPushButton(tr("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(tr("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));

    auto* codes = new QHBoxLayout;
    codes->addWidget(Text1);
    codes->addWidget(LabelHex1);
    codes->addWidget(Label1);
    codes->addWidget(Text2);
    codes->addWidget(LabelHex2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(codes);
    layout->addLayout(buttons);
    // Room for the title in the frame, beside the window manager's buttons.
    QFont titleFont = font();
    titleFont.setBold(true);
    const int titleRoom = QFontMetrics(titleFont).horizontalAdvance(windowTitle()) +
                          4 * style()->pixelMetric(QStyle::PM_TitleBarHeight);
    layout->addSpacerItem(new QSpacerItem(titleRoom, 0, QSizePolicy::Fixed));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKButton, &QPushButton::clicked, this, &DialogScanAll::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &DialogScanAll::CancelButton_Click);
    connect(Text1, &QLineEdit::textChanged, this, &DialogScanAll::showHex);
    connect(Text2, &QLineEdit::textChanged, this, &DialogScanAll::showHex);
    showHex();
}

void DialogScanAll::showHex()
{
    LabelHex1->setText(tr("16進 %1").arg(CodeText::toHex(ScanRange::boxCode(Text1->text()))));
    LabelHex2->setText(tr("16進 %1").arg(CodeText::toHex(ScanRange::boxCode(Text2->text()))));
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
