// The main window's side of the font server: the set-up before every operation, and the
// export of the current glyph.

#include "app/Form1.h"

#include "app/Prompt.h"
#include "chartable/CharTable.h"
#include "codes/CodeText.h"
#include "codes/NumericText.h"
#include "dots/DotBoxes.h"
#include "dots/DotGrid.h"
#include "editor/DotCanvas.h"
#include "fontd/GlyphBuilder.h"
#include "ttedit/DotsBitmap.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSlider>

namespace {

QString ttEditProgId()
{
    return QStringLiteral("TTEdit.Application");
}

// Shift_JIS 0x82A0, the hiragana letter a, as the 16-bit number it travels as: only a
// double-byte font takes it.
constexpr qint16 ProbeCode = -32096;
constexpr qint32 ProbeCodeUnsigned = 0x82A0;

QString noFontQuestion()
{
    return Form1::tr("フォントファイルが開かれていません。新規作成しますか？") +
           QStringLiteral("\r\r") +
           Form1::tr("新規作成する場合は Yes(はい)、既存のファイルを開く場合は、"
                     "自分で開いた後に No(いいえ)を押してください。");
}

QString fontKindQuestion()
{
    return Form1::tr("欧文フォントなら Yes(はい)、和文フォントなら No(いいえ)を押してください。");
}

QString cannotCreateMessage()
{
    return Form1::tr("フォントファイルを新規作成できませんでした");
}

QString noCellQuestion()
{
    return Form1::tr("この文字コードはキャラクタテーブルにありません。"
                     "TTEditの文字は空のグリフで置き換えられます。よろしいですか？");
}

QString cannotWriteDotsMessage(const QString& fileName)
{
    return Form1::tr("ドットファイルを書き込めませんでした") + u'\n' +
           QDir::toNativeSeparators(fileName);
}

QVariant int16(qint16 value)
{
    return QVariant::fromValue(value);
}

// The font server's own rule for side bearings, on the glyph the export's boxes make: its
// reason when it would refuse lsb and rsb, nothing when they fit.  Checked before any call, so
// that a refusal changes nothing in the font.
std::optional<QString> sideBearingsRefusal(const QList<QRect>& boxes, qint16 lsb, qint16 rsb,
                                           const std::optional<DotGrid>& grid)
{
    QRect ink;
    for (const QRect& box : boxes)
        ink |= box & QRect(0, 0, DotBoxes::CanvasSide, DotBoxes::CanvasSide);
    FontGlyph glyph;
    if (!ink.isEmpty()) {
        // Only the ink's left and right edges count, in the units the import gives them.
        constexpr int unit = DotGrid::UnitsPerPixel;
        const int origin = DotGrid::canvasOrigin(grid).x();
        glyph.contours.append(QPolygon({QPoint((ink.left() - origin) * unit, 0),
                                        QPoint((ink.right() + 1 - origin) * unit, 0)}));
    }
    QString reason;
    if (GlyphBuilder::setSideBearings(&glyph, lsb, rsb, grid, &reason))
        return std::nullopt;
    return reason;
}

// A call whose answer is assigned to an object: a failed call leaves the object as it was.
void assignObject(AutomationPtr& target, const std::optional<QVariant>& result)
{
    if (result)
        target = AutomationObject::toObject(result);
}

} // namespace

QString Form1::noServerMessage()
{
    return tr("TTEditが起動できませんでした");
}

QString Form1::codeNotInFontMessage(const QString& codes)
{
    return tr("TTEditのフォントには文字コード %1 がありません。文字は読み込まれませんでした")
        .arg(codes);
}

QString Form1::refusedMessage(const QString& codes, const QString& reason)
{
    QString text = tr("TTEditは文字コード %1 の文字を受け付けませんでした").arg(codes);
    if (!reason.isEmpty())
        text += u'\n' + reason;
    return text;
}

QString Form1::bearingsNotSetReason(const QString& why)
{
    return tr("文字は読み込まれましたが、サイドベアリングは設定されませんでした: %1").arg(why);
}

AutomationCall Form1::getcodeCall()
{
    return {QStringLiteral("getcode"), {int16(0), QVariant(false)}};
}

AutomationCall Form1::setcodeCall(qint32 code)
{
    return {QStringLiteral("setcode"), {int16(0), QVariant::fromValue(code), QVariant(false)}};
}

std::optional<qint32> Form1::codeOf(const std::optional<QVariant>& answer)
{
    if (!answer)
        return std::nullopt;
    bool ok = false;
    const int code = answer->toInt(&ok);
    if (!ok)
        return std::nullopt;
    return CodeText::unsignedLong(code);
}

QList<std::optional<QVariant>> Form1::ttCallAll(const QList<AutomationCall>& calls)
{
    if (!ttDoc)
        return QList<std::optional<QVariant>>(calls.size());
    return ttDoc->callAll(calls);
}

void Form1::ttSetCode(qint32 code)
{
    if (ttDoc) {
        const AutomationCall c = setcodeCall(code);
        ttDoc->call(c.member, c.args);
    }
}

bool Form1::SetupTTEdit(bool bShow)
{
    // The outer set-up is still asking: this one has nothing to add, and the caller's calls on
    // ttDoc fail as they do without a server.
    if (m_settingUp)
        return false;
    const QScopedValueRollback settingUp(m_settingUp, true);
    fontKind = 0;
    ttApp.reset();
    Attached attached =
        m_attachedAhead ? *std::exchange(m_attachedAhead, std::nullopt) : attachServer();
    if (!attached.app)
        attached = {m_automation->createObject(ttEditProgId()), false, std::nullopt};
    ttApp = attached.app;
    if (!attached.app) {
        // ttDoc stays: its calls fail until a server answers again.
        m_statusFont = {};
        showFontStatus();
        m_prompt->inform(noServerMessage());
        return false;
    }
    return setupDocument(attached, bShow);
}

Form1::Attached Form1::attachServer()
{
    QList<std::optional<QVariant>> answers;
    const AutomationPtr app =
        m_automation->attach(ttEditProgId(), {{QStringLiteral("ActiveDocument"), {}}}, &answers);
    return {app, true, answers.value(0)};
}

bool Form1::setupDocument(const Attached& attached, bool bShow)
{
    const AutomationPtr& app = attached.app;
    assignObject(ttDoc, attached.asked ? attached.activeDocument
                                       : app->call(QStringLiteral("ActiveDocument")));
    if (!ttDoc) {
        showMainWindow();
        bool opened = false;
        // Asked until the user says Yes or has opened a font in the server meanwhile.
        // The answers keep the Yes and No of the question's text; English names what they do.
        while (!m_prompt->ask(noFontQuestion(), tr("はい(&Y)", "no font: make a new one"),
                              tr("いいえ(&N)", "no font: one was opened meanwhile"), true)) {
            assignObject(ttDoc, app->call(QStringLiteral("ActiveDocument")));
            if (ttDoc) {
                bAskSave = true;
                opened = true;
                break;
            }
        }
        if (!opened) {
            const bool western =
                m_prompt->ask(fontKindQuestion(), tr("はい(&Y)", "font kind: Western"),
                              tr("いいえ(&N)", "font kind: Japanese"), true);
            assignObject(ttDoc, app->call(QStringLiteral("NewFile"),
                                          {int16(western ? 1 : 0), QVariant(true)}));
            // A single-byte font has no higher codes; the boxes follow at the next redraw.
            if (western && ttDoc && char_ > 255)
                char_ = 255;
            if (!ttDoc) {
                m_statusFont = {};
                showFontStatus();
                m_prompt->inform(cannotCreateMessage());
                return false;
            }
            ttSetCode(char_);
            bAskSave = true;
        }
    }

    probeFontKind();
    adaptCharacterBox();

    if (bShow) {
        if (const std::optional<QVariant> hwnd = app->call(QStringLiteral("hwnd")))
            showWindows(hwnd->toInt());
    }
    return true;
}

void Form1::probeFontKind()
{
    // The font takes 0x82A0 exactly when it is double-byte; its own code is put back after.
    // The calls go out together, with those the status bar needs, and the way back is not
    // waited for: the server takes it before any later call.
    const QList<std::optional<QVariant>> answers =
        ttCallAll({getcodeCall(),
                   {QStringLiteral("setcode"), {int16(0), int16(ProbeCode), QVariant(false)}},
                   getcodeCall(),
                   {QStringLiteral("saved"), {}},
                   {QStringLiteral("FamilyName"), {}, true}});
    const qint32 saved = codeOf(answers[0]).value_or(0);
    const qint32 probed = codeOf(answers[2]).value_or(0);
    if (ttDoc) {
        const AutomationCall back = setcodeCall(saved);
        ttDoc->post(back.member, back.args);
    }
    fontKind = probed == ProbeCodeUnsigned ? 2 : 1;
    // A server that does not tell these leaves them out of the status bar.
    m_statusFont.open = true;
    m_statusFont.kind = fontKind;
    m_statusFont.saved = !answers[3] || answers[3]->toBool();
    m_statusFont.family = answers[4] ? answers[4]->toString() : QString();
    showFontStatus();
}

void Form1::adaptCharacterBox()
{
    // Qt fonts have no character set: fontconfig finds the glyphs for the text shown.  The
    // sample label keeps the reference font's face.
    const bool japanese = fontKind == 2;
    const QString face = japanese ? QStringLiteral("ＭＳ Ｐゴシック") : QStringLiteral("Arial");
    if (TextChar->font().family() != face) {
        QFont font = TextChar->font();
        font.setFamilies({face});
        TextChar->setFont(font);
    }
    // Japanese: the input method becomes available (the user switches it on); Western: none.
    if (TextChar->testAttribute(Qt::WA_InputMethodEnabled) != japanese)
        TextChar->setAttribute(Qt::WA_InputMethodEnabled, japanese);
    // The characters are the font's own: a Western font's C9 is É, a Japanese font's ﾉ.
    const CodePage page = japanese ? CodePage::Cp932 : CodePage::Cp1252;
    if (page != m_codePage) {
        m_codePage = page;
        showCharacter();
    }
}

void Form1::showCharacter()
{
    if (!bEditChar) {
        // Only the view changes: the box's change handling must not take it for typing.
        bTrimChar = true;
        TextChar->setText(CodeText::boxCharacter(char_, m_codePage));
        bTrimChar = false;
        LabelChar->setText(TextChar->text());
    }
    if (referenceShown()) {
        captureRefChar();
        redrawRefChar();
    }
    updatePreview();
}

void Form1::showMainWindow()
{
    if (!isVisible())
        show();
}

void Form1::showWindows(qint32 hwnd)
{
    // The server shows its own window when it has a display; a window of another process is
    // not ours to show.  Shown, not re-stacked.
    Q_UNUSED(hwnd)
    showMainWindow();
}

Form1::ExportResult Form1::exportGlyph()
{
    // A double-byte code without a cell, or whose glyph has no dot yet: the export would
    // replace the font's glyph with an empty one.
    const QSize glyph(SliderDotX->value(), SliderDotY->value());
    if (bInteractive && char_ >= 256 && !m_store.hasDots(char_, glyph) &&
        !m_prompt->ask(noCellQuestion(), true)) {
        bRedraw = true;
        drawGrid();
        return {ExportStatus::Declined};
    }

    ExportResult result{ExportStatus::NotSetUp};
    if (const std::optional<ExportResult> ended = writeExport(dotsFileName))
        result = *ended;
    else if (!bInteractive || SetupTTEdit(true))
        result = sendGlyph();

    if (result) {
        m_statusFont.saved = false;
        showFontStatus();
        if (bInteractive)
            say(StatusText::sent(char_, m_codePage, m_statusFont.family));
    }
    if (bInteractive) {
        bRedraw = true;
        drawGrid();
    }
    return result;
}

std::optional<Form1::ExportResult> Form1::writeExport(const QString& fileName)
{
    // The same boxes as the headless build's.
    const QSize glyph(SliderDotX->value(), SliderDotY->value());
    const QList<QRect> boxes =
        DotBoxes::boxes(CharTable::dots(m_store.page(currentPage()), QPoint(bufX, bufY), glyph),
                        gridGeometry(), SliderSize->value());
    DotBoxes::paint(PictureDOT->image(), boxes, PictureDOT->background().rgb());
    PictureDOT->refresh();

    std::optional<QString> refusal;
    if (CheckSB->isChecked())
        refusal = sideBearingsRefusal(
            boxes, lsbValue(), rsbValue(),
            DotGrid::of(glyph.width(), glyph.height(), CheckSquare->isChecked()));
    // The user's folder for the file may be new, or cleared since the last export.
    QDir().mkpath(QFileInfo(fileName).path());
    if (refusal) {
        if (bInteractive)
            m_prompt->inform(refusedMessage(CodeText::toHex(char_), *refusal));
        return ExportResult{ExportStatus::Refused, *refusal};
    }
    // The canvas's file straight from its boxes: the same bytes as from its pixels, unless its
    // background counts as ink.
    const QImage& canvas = PictureDOT->image();
    const QByteArray file = qBlue(PictureDOT->background().rgb()) == 0
                                ? DotsBitmap::encode(canvas)
                                : DotsBitmap::encodeBoxes(canvas.size(), boxes);
    const bool written = !file.isEmpty() && DotsBitmap::writeFile(fileName, file);
    if (!written) {
        // Importing would take whatever an earlier export left in the file.
        m_prompt->inform(cannotWriteDotsMessage(fileName));
        return ExportResult{ExportStatus::NotWritten};
    }
    return std::nullopt;
}

Form1::ExportResult Form1::sendGlyph()
{
    if (!ttDoc)
        return {ExportStatus::NotSetUp};
    // A font without this code stays at its current one, and the glyph would replace another
    // code's glyph there.
    const QList<std::optional<QVariant>> moved =
        ttDoc->callAll({setcodeCall(char_), getcodeCall()});
    if (!moved[1]) {
        // No answer says nothing about the font's codes: the server is gone or hangs.
        const QString reason = ttDoc->lastError();
        if (bInteractive)
            m_prompt->inform(noServerMessage());
        return {ExportStatus::Unreachable, reason};
    }
    if (codeOf(moved[1]) != char_) {
        if (bInteractive)
            m_prompt->inform(codeNotInFontMessage(CodeText::toHex(char_)));
        return {ExportStatus::NotInFont};
    }
    // The dot grid first, so that the font places the glyph on whole dots; a server that does
    // not know the member places it as before.
    ttDoc->post(QStringLiteral("SetDotGrid"),
                {int16(qint16(SliderDotX->value())), int16(qint16(SliderDotY->value())),
                 QVariant(CheckSquare->isChecked())});
    // The import replaces the code's glyph whole, and one the server refuses leaves it as it
    // was: no selectall and Delete before it, which would leave the glyph empty behind a
    // refusal.  The side bearings go only onto an imported glyph, never onto the former one.
    if (!ttDoc->call(QStringLiteral("ImportBmpfile"), {dotsFileName})) {
        const QString reason = ttDoc->lastError();
        if (bInteractive)
            m_prompt->inform(refusedMessage(CodeText::toHex(char_), reason));
        return {ExportStatus::Refused, reason};
    }
    if (!CheckSB->isChecked() ||
        ttDoc->call(QStringLiteral("SetLeftRightSidebearing"),
                    {int16(lsbValue()), int16(rsbValue()), QVariant(false)}))
        return {ExportStatus::Sent};
    // Checked before, so only a server of other rules gets here: the glyph is in the font,
    // without the side bearings.
    const QString reason = bearingsNotSetReason(ttDoc->lastError());
    if (bInteractive)
        m_prompt->inform(refusedMessage(CodeText::toHex(char_), reason));
    return {ExportStatus::Refused, reason};
}

qint16 Form1::lsbValue() const
{
    // Out of the 16-bit range a bearing goes as 0.
    return NumericText::toInt16(NumericText::value(TextLSB->text())).value_or(0);
}

qint16 Form1::rsbValue() const
{
    return NumericText::toInt16(NumericText::value(TextRSB->text())).value_or(0);
}

void Form1::CommandTTEdit_Click()
{
    exportGlyph();
}

void Form1::mnuttedit_Click()
{
    CommandTTEdit_Click();
}

void Form1::SliderSize_Scroll()
{
    LabelSize->setText(QString::number(SliderSize->value()) + u'%');
}

void Form1::CheckSB_Click()
{
    const bool on = CheckSB->isChecked();
    LabelSB->setEnabled(on);
    TextLSB->setEnabled(on);
    TextRSB->setEnabled(on);
}
