#pragma once

#include "app/Prompt.h"

class QWidget;

// The real prompt: a QMessageBox titled with the owner window's caption.
class MessageBoxPrompt : public Prompt
{
public:
    explicit MessageBoxPrompt(QWidget* owner);

    using Prompt::ask;
    void inform(const QString& text) override;
    bool ask(const QString& text, const QString& yes, const QString& no,
             bool systemModal = false) override;

private:
    QWidget* m_owner;
};
