// The batch runs: the stored glyph of every code of a range, or every stored glyph with a dot,
// goes to the font, one export each.

#include "app/Form1.h"

#include "app/DialogAutoScanning.h"
#include "app/DialogScanAll.h"
#include "app/Prompt.h"
#include "codes/CodeText.h"
#include "codes/Cp932.h"
#include "codes/ScanRange.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPointer>
#include <QProgressBar>
#include <QSlider>

namespace {

// While a run goes on, closing the main window asks the run to stop, as Cancel does; the window
// stays, for the editor to come back in.
class CloseMeansCancel : public QObject
{
public:
    explicit CloseMeansCancel(bool& bCancel)
        : m_bCancel(bCancel)
    {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Close)
            return false;
        m_bCancel = true;
        event->ignore();
        return true;
    }

private:
    bool& m_bCancel;
};

QString notSentFromMessage(qint32 code)
{
    return Form1::tr("文字コード %1 から先の文字は読み込まれませんでした")
        .arg(CodeText::toHex(code));
}

} // namespace

DialogScanAll& Form1::scanAllDialog()
{
    if (!m_scanAll)
        m_scanAll = new DialogScanAll(startchar, endchar, this);
    return *m_scanAll;
}

DialogAutoScanning& Form1::autoScanningDialog()
{
    if (!m_autoScanning)
        m_autoScanning = new DialogAutoScanning(bCancel, this);
    return *m_autoScanning;
}

void Form1::CommandScanAll_Click()
{
    DialogScanAll& range = scanAllDialog();
    range.exec();
    if (range.ret == 2)
        return;
    scanRange();
}

int Form1::scanRange()
{
    const qint32 first = startchar;
    const qint32 last = endchar;
    return runBatch(StatusText::Run::Range, [first, last] {
        // 127 stays in the list, so that the bar moves by code as the range reads.
        QList<qint32> codes;
        for (qint32 c = first; c <= last; ++c)
            codes.append(c);
        return codes;
    });
}

QList<qint32> Form1::storedCodes() const
{
    QList<qint32> codes;
    for (int code : m_store.codes(QSize(SliderDotX->value(), SliderDotY->value()))) {
        // What the font holds: code page 932 in a Japanese font, the single bytes in another.
        const bool held = fontKind == 2 ? Cp932::isDefined(code) : code <= 0xFF;
        if (code >= ScanRange::First && code != ScanRange::Skipped && held)
            codes.append(code);
    }
    return codes;
}

void Form1::mnusendall_Click()
{
    sendAllGlyphs();
}

int Form1::sendAllGlyphs()
{
    bool none = false;
    const int sent = runBatch(StatusText::Run::All, [this, &none] {
        const QList<qint32> codes = storedCodes();
        none = codes.isEmpty();
        return codes;
    });
    if (none)
        m_prompt->inform(tr("フォントに送るグリフがありません"));
    return sent;
}

int Form1::runBatch(StatusText::Run run, const std::function<QList<qint32>()>& codesToSend)
{
    const qint32 savedChar = char_;
    const bool savedRefChar = CheckRefChar->isChecked();
    // The reference would only slow every glyph down; its click handling runs as for a click.
    CheckRefChar->setChecked(false);

    // Disabled, the window loses its focus; the editor gets it back afterwards.
    const QPointer<QWidget> focused = focusWidget();
    setEnabled(false);
    CloseMeansCancel closeMeansCancel(bCancel);
    installEventFilter(&closeMeansCancel);
    DialogAutoScanning& progress = autoScanningDialog();
    progress.ProgressBar1->setValue(0);
    progress.show();
    // A window of its own: the disabled main window must not take Cancel with it.
    progress.setEnabled(true);

    bCancel = false;
    bInteractive = false;
    bTrimChar = false;

    int sent = 0;
    QList<qint32> notInFont;
    QList<qint32> refused;
    QString refusal;               // the server's words for the first glyph it refused
    std::optional<qint32> lostAt;  // the server stopped answering at this code
    QList<qint32> passedOver;      // never sent: 127
    std::optional<qint32> endedAt; // the run could go no further from this code
    const bool setUp = SetupTTEdit(true);
    if (setUp) {
        const QList<qint32> codes = codesToSend();
        const int end = int(codes.size()) - 1;
        for (int i = 0; i <= end; ++i) {
            const qint32 c = codes[i];
            if (c == ScanRange::Skipped) {
                passedOver << c;
                continue;
            }
            // The one place where a click on Cancel gets through.
            QCoreApplication::processEvents();
            progress.ProgressBar1->setValue(qRound(ScanRange::progress(i, 0, end)));
            char_ = c;
            placeCell();
            const ExportResult result = exportGlyph();
            bool stop = false;
            switch (result.status) {
            case ExportStatus::Sent:
                ++sent;
                break;
            case ExportStatus::Declined: // asked only for codes without a cell
                break;
            case ExportStatus::NotInFont:
                notInFont << c;
                break;
            case ExportStatus::Refused:
                if (refused.isEmpty())
                    refusal = result.reason;
                refused << c;
                break;
            case ExportStatus::NotWritten:
                // Told by the export; every later glyph would meet the same file.
                endedAt = c;
                stop = true;
                break;
            case ExportStatus::NotSetUp:
            case ExportStatus::Unreachable:
                // Every later code would wait for the server in vain.
                lostAt = c;
                endedAt = c;
                stop = true;
                break;
            }
            if (bCancel || stop)
                break;
        }
    }

    bInteractive = true;
    progress.hide();
    removeEventFilter(&closeMeansCancel);
    setEnabled(true);
    if (focused)
        focused->setFocus();
    showMainWindow();
    CheckRefChar->setChecked(savedRefChar);
    char_ = savedChar;
    bRedraw = true;
    drawGrid();

    // One word at the end for every code that did not reach the font.
    QStringList report;
    if (lostAt)
        report << noServerMessage() << notSentFromMessage(*lostAt);
    if (!notInFont.isEmpty())
        report << codeNotInFontMessage(ScanRange::codeList(notInFont));
    if (!refused.isEmpty())
        report << refusedMessage(ScanRange::codeList(refused), refusal);
    if (!report.isEmpty())
        m_prompt->inform(report.join(u'\n'));
    // A run that never started has been told by the set-up.
    if (setUp)
        say(StatusText::batch(run, {sent, passedOver + notInFont + refused, bCancel, endedAt}));
    return sent;
}
