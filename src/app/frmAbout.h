#pragma once

#include <QDialog>

class Form1;
class QLabel;
class QPushButton;

// The about box: the program's name, version and notice, the system-information program and
// the link to the maker's page.  Shown modally by the main window, which gives it the prompt
// and the desktop it uses.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(Form1& owner);

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;
    QPushButton* Command1 = nullptr;

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void Command1_Click();
    // Starts the first system-information program found, or says there is none.
    void StartSysInfo();

private:
    Form1& m_owner;
};
