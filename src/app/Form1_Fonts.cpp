// Fonts in and out of the glyph store: the import of an outside font (FontReader) and the
// export of the stored glyphs as an X11 bitmap font (BDF).

#include "app/Form1.h"

#include "app/Prompt.h"
#include "app/StatusText.h"
#include "chartable/FontImport.h"
#include "chartable/FontReader.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
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

// Double-byte pages by name, runs of neighbouring lead bytes as one: "81xx～84xx, 88xx".
QString pageRuns(const QList<int>& pages)
{
    QStringList runs;
    for (qsizetype i = 0; i < pages.size();) {
        qsizetype last = i;
        while (last + 1 < pages.size() && pages[last + 1] == pages[last] + 1)
            ++last;
        runs.append(last == i ? GlyphStore::pageName(pages[i])
                              : GlyphStore::pageName(pages[i]) + u'～' +
                                    GlyphStore::pageName(pages[last]));
        i = last + 1;
    }
    return runs.join(QStringLiteral(", "));
}

} // namespace

FontDocument::Kind Form1::storeKind(std::optional<FontDocument::Kind> implied) const
{
    if (fontKind == 1)
        return FontDocument::Western;
    if (fontKind == 2)
        return FontDocument::Japanese;
    return implied.value_or(m_codePage == CodePage::Cp1252 ? FontDocument::Western
                                                           : FontDocument::Japanese);
}

void Form1::mnuimportfont_Click()
{
    const QString fileName = QFileDialog::getOpenFileName(
        this, tr("フォントの読み込み"), QString(),
        tr("フォント (*.bdf *.pcf *.bdf.gz *.pcf.gz *.ttf *.otf *.woff *.woff2);;"
           "すべてのファイル (*)"));
    if (fileName.isEmpty())
        return;
    // Outlines are drawn at a size the user picks: the font's own bitmap strike's, else the
    // glyph's height, unless the user says otherwise.
    int pixelSize = FontReader::OwnSize;
    FontReader reader;
    if (reader.open(fileName, FontReader::OwnSize) && reader.scalable()) {
        bool ok = false;
        pixelSize = QInputDialog::getInt(
            this, windowTitle(), tr("アウトラインを何ピクセルの大きさで読み込みますか？"),
            reader.strikeSizes().isEmpty() ? SliderDotY->value() : reader.pixelSize(),
            FontReader::MinDots, FontReader::MaxPixelSize, 1, &ok);
        if (!ok)
            return;
    }
    importFont(fileName, pixelSize);
}

void Form1::mnuexportbdf_Click()
{
    const QString proposed =
        QFileInfo(TextBufFileName->text()).completeBaseName() + QStringLiteral(".bdf");
    const QString fileName =
        QFileDialog::getSaveFileName(this, tr("BDFフォントの書き出し"), proposed,
                                     tr("BDF フォント (*.bdf);;すべてのファイル (*)"));
    if (!fileName.isEmpty())
        exportBdf(fileName);
}

bool Form1::importFont(const QString& fileName, int pixelSize)
{
    QString reason;
    FontReader reader;
    const auto unread = [&] {
        m_prompt->inform(fileMessage(tr("フォントを読み込めませんでした"), fileName, reason));
        return false;
    };
    if (!reader.open(fileName, pixelSize, &reason))
        return unread();
    // Outlines without a strike of their own: as high as the glyph is now.
    if (pixelSize == FontReader::OwnSize && reader.scalable() && reader.strikeSizes().isEmpty() &&
        !reader.open(fileName, SliderDotY->value(), &reason))
        return unread();
    const FontDocument::Kind kind = storeKind(reader.impliedKind());
    const std::optional<FontReader::Font> font = reader.read(kind, &reason);
    if (!font)
        return unread();
    const QString kindName =
        kind == FontDocument::Western ? tr("欧文フォント") : tr("日本語フォント");
    if (font->glyphs.empty()) {
        m_prompt->inform(
            fileMessage(tr("フォントに%1のコードの文字がありません").arg(kindName), fileName));
        return false;
    }

    // The pages it writes, named in the question.
    const QSize size = font->glyphSize;
    const QMap<int, QRect> area = FontImport::area(*font, size);
    QList<int> pages = area.keys();
    const bool table = pages.removeAll(GlyphStore::SingleBytePage) > 0;
    const QString what = pages.isEmpty() ? tr("キャラクタテーブル")
                         : table ? tr("キャラクタテーブルとページ %1").arg(pageRuns(pages))
                                 : tr("ページ %1").arg(pageRuns(pages));
    if (!m_prompt->ask(tr("%1の文字をフォントの文字で置き換えても良いですか？").arg(what)))
        return false;

    QMap<int, PixelBlock> before;
    for (auto it = area.cbegin(); it != area.cend(); ++it)
        before.insert(it.key(), beginStep(it.key(), it.value()));
    const int cut = FontImport::write(m_store, *font, FontImport::Layout{size, font->baseline});
    for (auto it = area.cbegin(); it != area.cend(); ++it)
        mirror(it.key(), it.value());
    endStep(tr("import font"), before);

    // As the user moves the sliders: the grid is rebuilt at the font's size.
    SliderDotX->setValue(size.width());
    SliderDotY->setValue(size.height());
    SliderDotX_Scroll();

    QStringList notes;
    if (cut > 0)
        notes.append(tr("%1 文字がグリフの大きさ（%2 × %3 ドット）に収まらないため、"
                        "はみ出したドットを切り取りました")
                         .arg(cut)
                         .arg(size.width())
                         .arg(size.height()));
    if (font->unheld > 0)
        notes.append(tr("%1 文字は%2のコードにない文字のため、読み込みませんでした")
                         .arg(font->unheld)
                         .arg(kindName));
    if (!notes.isEmpty())
        m_prompt->inform(notes.join(u'\n'));
    say(StatusText::fontImported(int(font->glyphs.size()), fileName));
    return true;
}

bool Form1::exportBdf(const QString& fileName)
{
    QString reason;
    int leftOut = 0;
    if (!BdfFont::write(m_store, QSize(SliderDotX->value(), SliderDotY->value()), fileName,
                        storeKind(), &reason, &leftOut)) {
        m_prompt->inform(fileMessage(tr("BDFフォントを書き出せませんでした"), fileName, reason));
        return false;
    }
    if (leftOut > 0)
        m_prompt->inform(tr("%1 文字は、同じ文字の別のコード（Windows がその文字に使うコード）で"
                            "書き出したため、書き出しませんでした")
                             .arg(leftOut));
    say(StatusText::bdfExported(fileName));
    return true;
}
