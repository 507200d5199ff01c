#include "app/StatusText.h"

#include "codes/ScanRange.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString shownPath(const QString& fileName)
{
    return QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath());
}

} // namespace

QString StatusText::font(const Font& font)
{
    if (!font.open)
        return tr("フォント: なし");
    const QString family = font.family.isEmpty() ? tr("名前不明") : font.family;
    const QString unsaved = font.saved ? QString() : QStringLiteral("*");
    if (font.kind != 1 && font.kind != 2)
        return tr("フォント: %1%2").arg(family, unsaved);
    return tr("フォント: %1%2 (%3)").arg(family, unsaved, font.kind == 2 ? tr("和文") : tr("欧文"));
}

QString StatusText::fontToolTip()
{
    return tr("文字を送る先の pointillo-fontd のフォント。* は保存されていない変更があることを"
              "示します");
}

QString StatusText::sent(qint32 code, CodePage page, const QString& family)
{
    return tr("%1 を %2 に送りました")
        .arg(CodeText::caption(code, page), family.isEmpty() ? tr("フォント") : family);
}

QString StatusText::batch(Run run, const Outcome& outcome)
{
    const QString name = run == Run::Range ? tr("A.Scan") : tr("send all glyphs");
    QString text = outcome.skipped.isEmpty()
                       ? tr("%1: %2 文字を送りました").arg(name).arg(outcome.sent)
                       : tr("%1: %2 文字を送り、%3 文字を飛ばしました (%4)")
                             .arg(name)
                             .arg(outcome.sent)
                             .arg(outcome.skipped.size())
                             .arg(shortCodeList(outcome.skipped));
    if (outcome.stoppedAt)
        text = tr("%1、%2 から先は送っていません").arg(text, CodeText::toHex(*outcome.stoppedAt));
    else if (outcome.cancelled)
        text = tr("%1、キャンセルしました").arg(text);
    return text;
}

QString StatusText::tableSaved(const QString& fileName)
{
    return tr("キャラクタテーブルを %1 に保存しました").arg(shownPath(fileName));
}

QString StatusText::fontImported(int glyphs, const QString& fileName)
{
    return tr("%1 から %n 文字を読み込みました", nullptr, glyphs).arg(shownPath(fileName));
}

QString StatusText::bdfExported(const QString& fileName)
{
    return tr("BDFフォントを %1 に書き出しました").arg(shownPath(fileName));
}

QString StatusText::settingsSaved(const QStringList& files)
{
    if (files.isEmpty())
        return tr("設定を書き込める保存先がありませんでした");
    QStringList shown;
    for (const QString& file : files)
        shown << shownPath(file);
    return tr("設定を %1 に保存しました").arg(shown.join(QStringLiteral(", ")));
}

QString StatusText::settingsLoaded()
{
    return tr("設定を読み込みました");
}

QString StatusText::settingsReset()
{
    return tr("既定の設定に戻しました（保存はしていません）");
}

QString StatusText::shortCodeList(const QList<qint32>& codes)
{
    const QString separator = QStringLiteral(", ");
    QStringList parts = ScanRange::codeList(codes).split(separator);
    if (parts.size() > MaxListedCodes) {
        parts.resize(MaxListedCodes);
        parts << QStringLiteral("…");
    }
    return parts.join(separator);
}
