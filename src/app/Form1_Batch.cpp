// The batch runs: the stored glyph of every code of a range, or every stored glyph with a dot,
// goes to the font, one export each.

#include "app/Form1.h"

#include "app/DialogAutoScanning.h"
#include "app/DialogScanAll.h"
#include "app/Prompt.h"
#include "codes/CodeText.h"
#include "codes/Cp932.h"
#include "codes/ScanRange.h"
#include "editor/DotCanvas.h"
#include "ttedit/ExportPipeline.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QProgressBar>
#include <QSet>
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

// Glyphs the server may still be reading while the next ones are written, each from a file of
// its own: enough to keep the server busy while the window draws and writes the next.
constexpr int ExportsInFlight = 8;
// How often a run repaints its progress: about as often as a screen shows a frame.
constexpr qint64 FrameMs = 16;

// What became of the codes of a run, told in one message at the end.
struct Tally
{
    int sent = 0;
    QList<qint32> notInFont;
    QList<qint32> refused;
    QString refusal;              // the server's words for the first glyph it refused
    std::optional<qint32> lostAt; // the server stopped answering at this code
    // The reason told for a glyph that went in without its side bearings.
    std::function<QString(const QString&)> bearingsReason;

    void refuse(qint32 code, const QString& reason)
    {
        if (refused.isEmpty())
            refusal = reason;
        refused << code;
    }

    void take(const QList<ExportPipeline::Result>& results)
    {
        for (const ExportPipeline::Result& r : results) {
            if (r.status == ExportPipeline::Status::Sent)
                ++sent;
            // Past the code where the server went, the message tells the rest.
            else if (lostAt)
                continue;
            else if (r.status == ExportPipeline::Status::Refused)
                refuse(r.code, r.reason);
            else if (r.status == ExportPipeline::Status::BearingsRefused)
                refuse(r.code, bearingsReason(r.reason));
            else
                lostAt = r.code;
        }
    }
};

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

    Tally tally;
    tally.bearingsReason = &Form1::bearingsNotSetReason;
    QList<qint32> passedOver;      // never sent: 127
    std::optional<qint32> endedAt; // the run could go no further from this code
    const bool setUp = SetupTTEdit(true);
    if (setUp) {
        const QList<qint32> codes = codesToSend();
        ExportPipeline pipeline(ttDoc, dotsFileName, ExportsInFlight);
        std::optional<QSet<qint32>> held;
        int heldUntil = 0;
        bool gridSent = false;
        const int end = int(codes.size()) - 1;
        // The grid and the bar are shown at a screen's pace: a repaint for every glyph would
        // cost more than the glyph.  The bar's value still follows every code.
        QElapsedTimer sinceFrame;
        sinceFrame.start();
        const auto showRun = [&](bool shown) {
            PictureDOT->setUpdatesEnabled(shown);
            progress.ProgressBar1->setUpdatesEnabled(shown);
        };
        showRun(false);
        for (int i = 0; i <= end; ++i) {
            const qint32 c = codes[i];
            if (c == ScanRange::Skipped) {
                passedOver << c;
                continue;
            }
            if (i >= heldUntil) {
                // Whether the font holds the codes ahead, asked in one go: a glyph is sent
                // only to a code the font has moved to.
                QList<qint32> ahead = codes.mid(i, ExportPipeline::ProbeBlock);
                ahead.removeAll(ScanRange::Skipped);
                held = pipeline.held(ahead);
                heldUntil = i + ExportPipeline::ProbeBlock;
                tally.take(pipeline.takeResults());
                if (!held && !tally.lostAt)
                    tally.lostAt = c;
                if (tally.lostAt)
                    break;
            }
            const bool frame = sinceFrame.hasExpired(FrameMs);
            if (frame) {
                showRun(true);
                sinceFrame.restart();
            }
            // The one place where a click on Cancel gets through.
            QCoreApplication::processEvents();
            if (frame)
                showRun(false);
            progress.ProgressBar1->setValue(qRound(ScanRange::progress(i, 0, end)));
            bool stop = false;
            if (!held->contains(c)) {
                tally.notInFont << c;
            } else {
                char_ = c;
                placeCell();
                const QString file = pipeline.nextFile();
                tally.take(pipeline.takeResults());
                if (tally.lostAt)
                    break;
                if (const std::optional<ExportResult> ended = writeExport(file)) {
                    // A file that cannot be written (told) would fail every later glyph.
                    stop = ended->status == ExportStatus::NotWritten;
                    if (stop)
                        endedAt = c;
                    else
                        tally.refuse(c, ended->reason);
                } else {
                    if (!gridSent) {
                        // The dot grid first, so that the font places the glyphs on whole
                        // dots; a server that does not know the member places them as before.
                        ttDoc->post(QStringLiteral("SetDotGrid"),
                                    {QVariant::fromValue(qint16(SliderDotX->value())),
                                     QVariant::fromValue(qint16(SliderDotY->value())),
                                     QVariant(CheckSquare->isChecked())});
                        gridSent = true;
                    }
                    pipeline.send(c, CheckSB->isChecked()
                                         ? std::optional(std::pair(lsbValue(), rsbValue()))
                                         : std::nullopt);
                }
            }
            if (bCancel || stop)
                break;
        }
        // The glyphs under way are finished, Cancel or not.
        pipeline.finish();
        tally.take(pipeline.takeResults());
        showRun(true);
        if (tally.lostAt)
            endedAt = tally.lostAt;
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
    if (tally.lostAt)
        report << noServerMessage() << notSentFromMessage(*tally.lostAt);
    if (!tally.notInFont.isEmpty())
        report << codeNotInFontMessage(ScanRange::codeList(tally.notInFont));
    if (!tally.refused.isEmpty())
        report << refusedMessage(ScanRange::codeList(tally.refused), tally.refusal);
    if (!report.isEmpty())
        m_prompt->inform(report.join(u'\n'));
    // The glyphs went through the pipeline, not the export, which marks the font changed.
    if (tally.sent > 0) {
        m_statusFont.saved = false;
        showFontStatus();
    }
    // A run that never started has been told by the set-up.
    if (setUp)
        say(StatusText::batch(
            run, {tally.sent, passedOver + tally.notInFont + tally.refused, bCancel, endedAt}));
    return tally.sent;
}
