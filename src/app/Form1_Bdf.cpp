// The import of an X11 bitmap font (BDF) into the character table and the export of the table
// as one.

#include "app/Form1.h"

#include "app/Prompt.h"
#include "chartable/CharTable.h"
#include "editor/DotCanvas.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QSlider>

namespace {

// A failure as the table's messages tell it: what failed, the file, the reason.
QString fileMessage(const QString& headline, const QString& fileName, const QString& reason = {})
{
    QString text =
        headline + u'\n' + QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath());
    if (!reason.isEmpty())
        text += u'\n' + reason;
    return text;
}

QString bdfFilter()
{
    return Form1::tr("BDF フォント (*.bdf);;すべてのファイル (*)");
}

} // namespace

BdfFont::Charset Form1::tableCharset() const
{
    return fontKind == 2 ? BdfFont::Charset::Cp932 : BdfFont::Charset::Cp1252;
}

void Form1::mnuimportbdf_Click()
{
    const QString fileName =
        QFileDialog::getOpenFileName(this, tr("BDFフォントの読み込み"), QString(), bdfFilter());
    if (!fileName.isEmpty())
        importBdf(fileName);
}

void Form1::mnuexportbdf_Click()
{
    const QString proposed =
        QFileInfo(TextBufFileName->text()).completeBaseName() + QStringLiteral(".bdf");
    const QString fileName =
        QFileDialog::getSaveFileName(this, tr("BDFフォントの書き出し"), proposed, bdfFilter());
    if (!fileName.isEmpty())
        exportBdf(fileName);
}

bool Form1::importBdf(const QString& fileName)
{
    QString reason;
    const std::optional<BdfFont> font = BdfFont::read(fileName, tableCharset(), &reason);
    if (!font) {
        m_prompt->inform(fileMessage(tr("BDFフォントを読み込めませんでした"), fileName, reason));
        return false;
    }
    if (font->glyphs().isEmpty()) {
        m_prompt->inform(
            fileMessage(tr("BDFフォントに文字コード20～FFの文字がありません"), fileName));
        return false;
    }
    if (!m_prompt->ask(tr("キャラクタテーブルをBDFフォントの文字で置き換えても良いですか？")))
        return false;

    // The single-byte table alone: BDF glyphs here have single-byte codes.
    const int page = GlyphStore::SingleBytePage;
    const QRect whole(0, 0, CharTable::Size, CharTable::Size);
    const PixelBlock before = beginStep(page, whole);
    const int cut = font->paint(m_store.pageForWrite(page));
    mirror(page, whole);
    endStep(tr("import BDF"), -1, before, page);

    // As the user moves the sliders: the grid is rebuilt at the font's size.
    const QSize size = font->glyphSize();
    SliderDotX->setValue(size.width());
    SliderDotY->setValue(size.height());
    SliderDotX_Scroll();

    if (cut > 0) {
        m_prompt->inform(tr("%1 文字がグリフの大きさ（%2 × %3 ドット）に収まらないため、"
                            "はみ出したドットを切り取りました")
                             .arg(cut)
                             .arg(size.width())
                             .arg(size.height()));
    }
    say(StatusText::bdfImported(int(font->glyphs().size()), fileName));
    return true;
}

bool Form1::exportBdf(const QString& fileName)
{
    QString reason;
    if (BdfFont::write(m_store.page(GlyphStore::SingleBytePage),
                       QSize(SliderDotX->value(), SliderDotY->value()), fileName, tableCharset(),
                       &reason)) {
        say(StatusText::bdfExported(fileName));
        return true;
    }
    m_prompt->inform(fileMessage(tr("BDFフォントを書き出せませんでした"), fileName, reason));
    return false;
}
