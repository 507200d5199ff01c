#include "app/MessageBoxPrompt.h"

#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

MessageBoxPrompt::MessageBoxPrompt(QWidget* owner)
    : m_owner(owner)
{}

void MessageBoxPrompt::inform(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, m_owner->windowTitle(), text, QMessageBox::Ok, m_owner);
    box.exec();
}

bool MessageBoxPrompt::ask(const QString& text, const QString& yes, const QString& no,
                           bool systemModal)
{
    QMessageBox box(QMessageBox::NoIcon, m_owner->windowTitle(), text,
                    QMessageBox::Yes | QMessageBox::No, m_owner);
    // A named answer keeps its button's role and its key: the box presses the button whose
    // shortcut has the key typed, Alt or not.
    const auto name = [&box](QMessageBox::StandardButton which, const QString& text, Qt::Key key) {
        if (text.isEmpty())
            return;
        QAbstractButton* button = box.button(which);
        button->setText(text);
        button->setShortcut(QKeySequence(Qt::ALT | key));
    };
    name(QMessageBox::Yes, yes, Qt::Key_Y);
    name(QMessageBox::No, no, Qt::Key_N);
    if (systemModal) {
        // The nearest a desktop without system-modal boxes offers: above every other window.
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        box.setWindowModality(Qt::ApplicationModal);
    }
    return box.exec() == QMessageBox::Yes;
}
