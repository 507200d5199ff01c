// The preview window of the main window: a line of sample text set in the table's glyphs.

#include "app/Form1.h"

#include "chartable/PreviewWindow.h"
#include "editor/DotCanvas.h"

#include <QLineEdit>
#include <QSettings>
#include <QSlider>
#include <memory>

namespace {

// The per-user store, at its group, where the other settings of the program are to go too.
std::unique_ptr<QSettings> userSettings()
{
    auto settings =
        std::make_unique<QSettings>(QStringLiteral("marrowby"), QStringLiteral("marrowby"));
    settings->beginGroup(QStringLiteral("POINTILLO"));
    return settings;
}

} // namespace

void Form1::mnupreview_Click()
{
    if (!m_preview) {
        m_preview = new PreviewWindow(PictureBuf->image(), this);
        m_preview->TextSample->installEventFilter(this);
        loadPreviewSettings();
        connect(m_preview, &PreviewWindow::hidden, this, &Form1::savePreviewSettings);
    }
    m_preview->show();
    m_preview->raise();
    m_preview->activateWindow();
    updatePreview();
}

void Form1::updatePreview()
{
    if (m_preview && m_preview->isVisible())
        m_preview->refresh(QSize(SliderDotX->value(), SliderDotY->value()));
}

void Form1::loadPreviewSettings()
{
    const std::unique_ptr<QSettings> settings = userSettings();
    m_preview->TextSample->setText(
        settings->value(QStringLiteral("PreviewText"), PreviewWindow::defaultText()).toString());
    m_preview->restoreGeometry(settings->value(QStringLiteral("PreviewGeometry")).toByteArray());
}

void Form1::savePreviewSettings()
{
    const std::unique_ptr<QSettings> settings = userSettings();
    settings->setValue(QStringLiteral("PreviewText"), m_preview->TextSample->text());
    settings->setValue(QStringLiteral("PreviewGeometry"), m_preview->saveGeometry());
}
