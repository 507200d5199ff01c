// The glyph tools of the main window: flips, the quarter turn, moves by a dot, the glyph on the
// clipboard, and the export followed by the next code.

#include "app/Form1.h"

#include "app/Prompt.h"
#include "chartable/CharTable.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QPixmap>
#include <QSlider>

void Form1::createToolItems()
{
    // Before prev char, in groups; send and next beside the export.
    const auto item = [this](const char* name, const QString& caption, QKeySequence shortcut,
                             void (Form1::*handler)(), QAction* before) {
        auto* action = new QAction(caption, mnuedit);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(shortcut);
        mnuedit->insertAction(before, action);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    QAction* const at = mnuprevchar;
    mnufliph = item("mnufliph", tr("flip horizontal"), QKeySequence(Qt::SHIFT | Qt::Key_H),
                    &Form1::mnufliph_Click, at);
    mnuflipv = item("mnuflipv", tr("flip vertical"), QKeySequence(Qt::SHIFT | Qt::Key_V),
                    &Form1::mnuflipv_Click, at);
    mnurotate = item("mnurotate", tr("rotate right"), QKeySequence(Qt::SHIFT | Qt::Key_R),
                     &Form1::mnurotate_Click, at);
    mnuedit->insertSeparator(at);
    mnumoveup = item("mnumoveup", tr("move up"), QKeySequence(Qt::ALT | Qt::Key_Up),
                     &Form1::mnumoveup_Click, at);
    mnumovedown = item("mnumovedown", tr("move down"), QKeySequence(Qt::ALT | Qt::Key_Down),
                       &Form1::mnumovedown_Click, at);
    mnumoveleft = item("mnumoveleft", tr("move left"), QKeySequence(Qt::ALT | Qt::Key_Left),
                       &Form1::mnumoveleft_Click, at);
    mnumoveright = item("mnumoveright", tr("move right"), QKeySequence(Qt::ALT | Qt::Key_Right),
                        &Form1::mnumoveright_Click, at);
    mnuedit->insertSeparator(at);
    mnucopyglyph =
        item("mnucopyglyph", tr("copy glyph"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
             &Form1::mnucopyglyph_Click, at);
    mnupasteglyph =
        item("mnupasteglyph", tr("paste glyph"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V),
             &Form1::mnupasteglyph_Click, at);
    mnuedit->insertSeparator(at);
    mnusendnext =
        item("mnusendnext", tr("send and next"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T),
             &Form1::mnusendnext_Click, mnusendall);

    connect(SliderDotX, &QSlider::valueChanged, this, &Form1::updateToolItems);
    connect(SliderDotY, &QSlider::valueChanged, this, &Form1::updateToolItems);
    updateToolItems();
}

QList<QAction*> Form1::toolItems() const
{
    return {mnufliph,    mnuflipv,     mnurotate,    mnumoveup,     mnumovedown,
            mnumoveleft, mnumoveright, mnucopyglyph, mnupasteglyph, mnusendnext};
}

void Form1::updateToolItems()
{
    mnurotate->setEnabled(SliderDotX->value() == SliderDotY->value());
}

void Form1::replaceGlyph(const QImage& dots, const QString& text)
{
    const QImage now = m_store.glyph(char_, dots.size());
    if (now.isNull() || dots == now)
        return;
    const int page = currentPage();
    const PixelBlock before = beginStep(page, glyphRect());
    m_store.setGlyph(char_, dots);
    mirror(page, glyphRect());
    endStep(text, char_, before, page);
    drawGrid();
}

void Form1::transformGlyph(GlyphOps::Transform t, const QAction* item)
{
    const QImage glyph = m_store.glyph(char_, glyphRect().size());
    if (glyph.isNull())
        return;
    const QImage result = GlyphOps::transformed(glyph, t);
    if (!result.isNull())
        replaceGlyph(result, item->text());
}

void Form1::mnufliph_Click()
{
    transformGlyph(GlyphOps::Transform::FlipHorizontal, mnufliph);
}

void Form1::mnuflipv_Click()
{
    transformGlyph(GlyphOps::Transform::FlipVertical, mnuflipv);
}

void Form1::mnurotate_Click()
{
    transformGlyph(GlyphOps::Transform::RotateRight, mnurotate);
}

void Form1::mnumoveup_Click()
{
    transformGlyph(GlyphOps::Transform::MoveUp, mnumoveup);
}

void Form1::mnumovedown_Click()
{
    transformGlyph(GlyphOps::Transform::MoveDown, mnumovedown);
}

void Form1::mnumoveleft_Click()
{
    transformGlyph(GlyphOps::Transform::MoveLeft, mnumoveleft);
}

void Form1::mnumoveright_Click()
{
    transformGlyph(GlyphOps::Transform::MoveRight, mnumoveright);
}

void Form1::mnucopyglyph_Click()
{
    // A code without a cell reads as clear, as the grid shows it.
    QImage glyph = m_store.glyph(char_, glyphRect().size());
    if (glyph.isNull()) {
        glyph = QImage(glyphRect().size(), QImage::Format_RGB32);
        glyph.fill(CharTable::ClearColour);
    }
    auto* data = new QMimeData;
    data->setImageData(GlyphOps::toPicture(glyph));
    data->setText(GlyphOps::toText(glyph));
    QGuiApplication::clipboard()->setMimeData(data);
}

void Form1::mnupasteglyph_Click()
{
    const QSize size = glyphRect().size();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    std::optional<QImage> dots;
    if (data && data->hasImage()) {
        const QVariant picture = data->imageData();
        dots = GlyphOps::fromPicture(picture.typeId() == QMetaType::QPixmap
                                         ? picture.value<QPixmap>().toImage()
                                         : picture.value<QImage>(),
                                     size);
    }
    if (!dots && data && data->hasText())
        dots = GlyphOps::fromText(data->text(), size);
    if (!dots) {
        m_prompt->inform(
            tr("クリップボードには、グリフにできる画像も # と . のテキストもありません"));
        return;
    }
    replaceGlyph(*dots, mnupasteglyph->text());
}

void Form1::mnusendnext_Click()
{
    if (exportGlyph())
        mnunextchar_Click();
}
