#pragma once

#include <QDialog>

class QProgressBar;
class QPushButton;

// The progress window of a batch run: the bar from 0 to 100 and Cancel, which raises the main
// window's cancel flag it is given.  The run hides the window when it ends; until then Cancel,
// Esc and the frame's close only ask the run to stop after the code in progress.
class DialogAutoScanning : public QDialog
{
    Q_OBJECT

public:
    DialogAutoScanning(bool& bCancel, QWidget* owner);

    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* CancelButton = nullptr;

    void CancelButton_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    bool& m_bCancel;
};
