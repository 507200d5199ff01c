// The preview window of the main window: a line of sample text set in the table's glyphs.

#include "app/Form1.h"

#include "app/SettingsTable.h"
#include "chartable/PreviewWindow.h"
#include "codes/NumericText.h"
#include "dots/DotGrid.h"
#include "editor/DotCanvas.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSettings>
#include <QSlider>

void Form1::mnupreview_Click()
{
    if (!m_preview) {
        m_preview = new PreviewWindow(m_store, this);
        m_preview->TextSample->installEventFilter(this);
        const bool reset = m_previewTextReset;
        loadPreviewSettings(*SettingsTable::openUserStore());
        if (reset)
            m_preview->TextSample->setText(PreviewWindow::defaultText());
        connect(m_preview, &PreviewWindow::hidden, this,
                [this] { savePreviewSettings(*SettingsTable::openUserStore()); });
    }
    m_preview->show();
    m_preview->raise();
    m_preview->activateWindow();
    updatePreview();
}

void Form1::updatePreview()
{
    if (!m_preview || !m_preview->isVisible())
        return;
    const int dotsX = SliderDotX->value();
    const int dotsY = SliderDotY->value();
    // The bearings the export sends, in the font's dots across.
    std::optional<GlyphSpacing::Bearings> bearings;
    if (CheckSB->isChecked()) {
        const int dot = DotGrid::UnitsPerPixel *
                        GridGeometry::compute(dotsX, dotsY, CheckSquare->isChecked()).nX();
        const auto dots = [dot](const QString& text) {
            return GlyphSpacing::toDots(NumericText::toInt16(NumericText::value(text)).value_or(0),
                                        dot);
        };
        bearings = GlyphSpacing::Bearings{dots(TextLSB->text()), dots(TextRSB->text())};
    }
    m_preview->refresh(QSize(dotsX, dotsY), m_codePage, bearings);
}

// A preview not opened yet takes its settings when it opens.
void Form1::loadPreviewSettings(const QSettings& user)
{
    m_previewTextReset = false;
    if (!m_preview)
        return;
    m_preview->TextSample->setText(
        user.value(SettingsTable::previewTextKey(), PreviewWindow::defaultText()).toString());
    m_preview->restoreGeometry(user.value(SettingsTable::previewGeometryKey()).toByteArray());
}

void Form1::savePreviewSettings(QSettings& user)
{
    if (!m_preview) {
        if (m_previewTextReset)
            SettingsTable::setUserValue(user, SettingsTable::previewTextKey(),
                                        PreviewWindow::defaultText());
        return;
    }
    SettingsTable::setUserValue(user, SettingsTable::previewTextKey(),
                                m_preview->TextSample->text());
    SettingsTable::setUserValue(user, SettingsTable::previewGeometryKey(),
                                m_preview->saveGeometry());
}

void Form1::resetPreviewSettings()
{
    if (m_preview)
        m_preview->TextSample->setText(PreviewWindow::defaultText());
    else
        m_previewTextReset = true; // the store's text is not the preview's when it opens
}
