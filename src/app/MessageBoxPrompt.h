#pragma once

#include "app/Prompt.h"

class QWidget;

// The real prompt: a QMessageBox titled with the owner window's caption.
class MessageBoxPrompt : public Prompt
{
public:
    explicit MessageBoxPrompt(QWidget* owner);

    void inform(const QString& text) override;
    bool ask(const QString& text, bool systemModal = false) override;

private:
    QWidget* m_owner;
};
