#include "app/frmAbout.h"

#include "app/Desktop.h"
#include "app/Form1.h"
#include "app/ProgramInfo.h"
#include "app/Prompt.h"
#include "app/SystemInfoPrograms.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

frmAbout::frmAbout(Form1& owner)
    : QDialog(&owner)
    , m_owner(owner)
{
    setObjectName(QStringLiteral("frmAbout"));

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(QIcon(QStringLiteral(":/icons/org.marrowby.Pointillo.svg")).pixmap(48, 48));
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    lblTitle = new QLabel(QStringLiteral("Pointillo"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont title = lblTitle->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.5);
    lblTitle->setFont(title);
    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblDescription = new QLabel(tr("* You need to have TTEdit 3.20 or later installed."), this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    Label1 = new QLabel(ProgramInfo::notice(), this);
    Label1->setObjectName(QStringLiteral("Label1"));

    cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    // Enter presses it; Esc closes the box as it does.
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(tr("&System Info"), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    Command1 = new QPushButton(tr("marrowby..."), this);
    Command1->setObjectName(QStringLiteral("Command1"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(picIcon, 0, 0, 4, 1);
    layout->addWidget(lblTitle, 0, 1);
    layout->addWidget(lblVersion, 1, 1);
    layout->addWidget(lblDescription, 2, 1);
    layout->addWidget(Label1, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    layout->addLayout(buttons, 4, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    connect(Command1, &QPushButton::clicked, this, &frmAbout::Command1_Click);

    Form_Load();
}

void frmAbout::Form_Load()
{
    setWindowTitle(QStringLiteral("Pointillo"));
    lblVersion->setText(ProgramInfo::versionText());
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::Command1_Click()
{
    m_owner.GoToMarrowby();
}

void frmAbout::StartSysInfo()
{
    Desktop& desktop = m_owner.desktop();
    for (const SystemInfoPrograms::Program& p :
         SystemInfoPrograms::candidates(qEnvironmentVariable("XDG_CURRENT_DESKTOP"))) {
        const QString path = desktop.findExecutable(p.name);
        if (path.isEmpty())
            continue;
        // The first one found is the one: when it does not start, the user is told.
        if (desktop.startDetached(path, p.arguments))
            return;
        break;
    }
    m_owner.prompt().inform(tr("現時点ではｼｽﾃﾑ情報を使用できません"));
}
