#pragma once

#include <QString>

// Every message box of the editor goes through this interface, so that tests can answer the
// questions and read the texts that were shown.
class Prompt
{
public:
    virtual ~Prompt() = default;

    // An error or a notice with an OK button only.
    virtual void inform(const QString& text) = 0;

    // A question with two answers; returns true for the first.  They are the Yes and No
    // buttons, or buttons named yes and no that keep those roles and keys (Y, N, Enter for the
    // first, Esc for the second); an empty name is the standard one.  systemModal marks the
    // questions about the font server, which must not be missed behind another window.
    virtual bool ask(const QString& text, const QString& yes, const QString& no,
                     bool systemModal = false) = 0;
    bool ask(const QString& text, bool systemModal = false)
    {
        return ask(text, QString(), QString(), systemModal);
    }
};
