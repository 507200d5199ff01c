#pragma once

#include "app/Prompt.h"

#include <QList>
#include <QStringList>
#include <functional>

// A prompt for tests: answers questions from a script and records every text shown.
class ScriptedPrompt : public Prompt
{
public:
    struct Shown
    {
        bool question;
        bool systemModal;
        QString text;
        QString yes, no; // the names of a question's answers, empty for Yes and No
    };

    // Answers given in order; once they run out, onAsk decides (No when it is unset).  A
    // question asked more than maxQuestions times in all answers Yes, so that a loop that only
    // Yes ends cannot hang a test; the test then sees the count.
    void answer(std::initializer_list<bool> answers) { m_answers.append(answers); }
    std::function<bool(const QString&)> onAsk;
    int maxQuestions = 50;

    using Prompt::ask;
    void inform(const QString& text) override;
    bool ask(const QString& text, const QString& yes, const QString& no,
             bool systemModal = false) override;

    const QList<Shown>& shown() const { return m_shown; }
    QStringList texts() const;
    QStringList questions() const;
    QStringList messages() const;
    int pendingAnswers() const { return int(m_answers.size()); }
    void clear();

private:
    QList<bool> m_answers;
    QList<Shown> m_shown;
};
