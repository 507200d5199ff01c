#pragma once

#include "app/Form1.h"
#include "common/FakeDesktop.h"
#include "common/FakeTTEdit.h"
#include "common/ScriptedPrompt.h"

#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// The main window on a scripted font server and a scripted prompt, as the window tests set it
// up.  A test class inherits it beside QObject and calls it from init() and cleanup().
class Form1Fixture
{
public:
    // Shows form at the top-left corner of the screen and waits until it is exposed and its
    // platform window agrees with the widget: mouse positions go through the platform window.
    // Failures are recorded as the QTest macros do.
    static void showAtOrigin(Form1& form);
    // Runs act once the dialog is up, from the event loop of its exec, so that a test answers a
    // modal dialog as the user does.
    static void whenShown(QWidget* dialog, std::function<void()> act);

protected:
    // A new window on a new scripted server with a font of kind open, holding codes (all of
    // its kind when empty), or no font when kind is empty.  The prompt is cleared; the window
    // is not shown.  The current folder is a new empty one, m_workDir, where the window's
    // table file (its table folder) and settings file go.
    Form1& createForm(std::optional<FakeTTEdit::Kind> kind = std::nullopt,
                      std::vector<int> codes = {});
    // createForm, then showAtOrigin.
    void showForm(std::optional<FakeTTEdit::Kind> kind = std::nullopt);
    // The window first: it holds the server.
    void destroyForm();
    // Empties the user's settings store, which the test's home keeps between runs.
    static void clearUserStore();

    ScriptedPrompt m_prompt;
    FakeDesktop m_desktop;
    std::unique_ptr<FakeTTEdit> m_ttedit;
    std::unique_ptr<Form1> m_form;
    std::unique_ptr<QTemporaryDir> m_workDir;
};
