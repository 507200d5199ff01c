#include "ScriptedPrompt.h"

void ScriptedPrompt::inform(const QString& text)
{
    m_shown.append({false, false, text, {}, {}});
}

bool ScriptedPrompt::ask(const QString& text, const QString& yes, const QString& no,
                         bool systemModal)
{
    m_shown.append({true, systemModal, text, yes, no});
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    if (questions().size() > maxQuestions)
        return true;
    return onAsk ? onAsk(text) : false;
}

QStringList ScriptedPrompt::texts() const
{
    QStringList out;
    for (const Shown& s : m_shown)
        out << s.text;
    return out;
}

QStringList ScriptedPrompt::questions() const
{
    QStringList out;
    for (const Shown& s : m_shown)
        if (s.question)
            out << s.text;
    return out;
}

QStringList ScriptedPrompt::messages() const
{
    QStringList out;
    for (const Shown& s : m_shown)
        if (!s.question)
            out << s.text;
    return out;
}

void ScriptedPrompt::clear()
{
    m_answers.clear();
    m_shown.clear();
}
