// The main window's status bar: the font the glyphs go to, and one line for what a command did.

#include "app/Form1.h"

#include <QEvent>
#include <QLabel>
#include <QStatusBar>

namespace {

// The most the permanent part gives a family name; a longer one is shortened there.
constexpr int FamilyRoom = 160;

} // namespace

void Form1::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    // The window is never resized by the user: no grip, and one height.
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(StatusBarHeight);
    bar->setFont(m_client->font());
    StatusLine = new QLabel(bar);
    StatusLine->setObjectName(QStringLiteral("StatusLine"));
    StatusLine->setTextFormat(Qt::PlainText);
    // Its text is shortened to the room it has: it never widens the window.
    StatusLine->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    StatusLine->installEventFilter(this);
    bar->addWidget(StatusLine, 1);
    StatusFont = new QLabel(bar);
    StatusFont->setObjectName(QStringLiteral("StatusFont"));
    StatusFont->setTextFormat(Qt::PlainText);
    bar->addPermanentWidget(StatusFont);
    showFontStatus();
}

void Form1::say(const QString& text)
{
    m_said = text;
    StatusLine->setToolTip(text);
    StatusLine->setText(StatusLine->fontMetrics().elidedText(
        QString(text).replace(u'\n', u' '), Qt::ElideMiddle, StatusLine->contentsRect().width()));
}

bool Form1::statusLineEvent(QObject* watched, QEvent* event)
{
    // The window narrows and widens with the table panel: the line is shortened anew.
    if (watched == StatusLine && event->type() == QEvent::Resize)
        say(m_said);
    return false;
}

void Form1::showFontStatus()
{
    StatusText::Font shown = m_statusFont;
    shown.family = StatusFont->fontMetrics().elidedText(shown.family, Qt::ElideRight, FamilyRoom);
    StatusFont->setText(StatusText::font(shown));
    StatusFont->setToolTip(StatusText::font(m_statusFont) + u'\n' + StatusText::fontToolTip());
}
