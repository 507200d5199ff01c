#include "chartable/PreviewWindow.h"

#include "chartable/PreviewLine.h"
#include "chartable/PreviewView.h"

#include <QLineEdit>
#include <QScrollArea>
#include <QVBoxLayout>

QString PreviewWindow::defaultText()
{
    return QStringLiteral("The quick brown fox jumps over the lazy dog 0123456789");
}

PreviewWindow::PreviewWindow(const GlyphStore& store, QWidget* parent)
    : QWidget(parent, Qt::Tool)
    , m_store(store)
{
    setObjectName(QStringLiteral("FormPreview"));
    setWindowTitle(tr("Preview"));
    TextSample = new QLineEdit(defaultText(), this);
    TextSample->setObjectName(QStringLiteral("TextSample"));
    TextSample->setToolTip(tr("プレビューする文字列"));
    PictureLine = new PreviewView;
    PictureLine->setObjectName(QStringLiteral("PictureLine"));
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(PictureLine);
    m_scroll->setBackgroundRole(QPalette::Base);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TextSample);
    layout->addWidget(m_scroll, 1);
    resize(640, 240);

    connect(TextSample, &QLineEdit::textChanged, this,
            [this] { refresh(m_glyph, m_page, m_bearings); });
}

void PreviewWindow::refresh(QSize glyph, CodePage page,
                            const std::optional<GlyphSpacing::Bearings>& bearings)
{
    m_bearings = bearings;
    m_glyph = glyph;
    m_page = page;
    PictureLine->setLine(PreviewLine::render(m_store, TextSample->text(), glyph, page, bearings));
}

void PreviewWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    emit hidden();
}
