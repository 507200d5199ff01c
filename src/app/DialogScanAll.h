#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The range dialog of a batch run: the first and last code, typed in decimal, each shown in
// hexadecimal beside its box as the run will take it.  It works on the main window's range,
// whose two variables it is given.  OK and Cancel only hide it, so
// that the next showing offers what the boxes held; closing it by its frame drops what was
// typed, and the next showing offers the range again.
class DialogScanAll : public QDialog
{
    Q_OBJECT

public:
    DialogScanAll(qint32& startchar, qint32& endchar, QWidget* owner);

    // 1 after OK, 2 after Cancel or a close by the frame; kept between showings, 0 before the
    // first.
    qint32 ret = 0;

    QLineEdit* Text1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLabel* LabelHex1 = nullptr; // the code of Text1 in hexadecimal
    QLabel* LabelHex2 = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

    // The boxes show the range.
    void Form_Load();
    // The range changed under the dialog (settings loaded or reset): the next showing offers
    // it, not what the boxes held.
    void offerRangeAgain() { m_loaded = false; }
    // The typed range becomes the main window's, held to the single-byte codes and in order.
    void check();
    void OKButton_Click();
    void CancelButton_Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Esc is the Cancel button.
    void reject() override;

private:
    void showHex();

    qint32& m_startchar;
    qint32& m_endchar;
    bool m_loaded = false;
};
