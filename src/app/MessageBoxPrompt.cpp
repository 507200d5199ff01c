#include "app/MessageBoxPrompt.h"

#include <QMessageBox>
#include <QWidget>

MessageBoxPrompt::MessageBoxPrompt(QWidget* owner)
    : m_owner(owner)
{}

void MessageBoxPrompt::inform(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, m_owner->windowTitle(), text, QMessageBox::Ok, m_owner);
    box.exec();
}

bool MessageBoxPrompt::ask(const QString& text, bool systemModal)
{
    QMessageBox box(QMessageBox::NoIcon, m_owner->windowTitle(), text,
                    QMessageBox::Yes | QMessageBox::No, m_owner);
    if (systemModal) {
        // The nearest a desktop without system-modal boxes offers: above every other window.
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        box.setWindowModality(Qt::ApplicationModal);
    }
    return box.exec() == QMessageBox::Yes;
}
