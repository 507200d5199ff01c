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

    // A question with Yes and No; returns true for Yes.  systemModal marks the questions about
    // the font server, which must not be missed behind another window.
    virtual bool ask(const QString& text, bool systemModal = false) = 0;
};
