#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// What the editor asks of the desktop: other programs and web pages.  Tests put their own in
// its place, so that no real program or browser is ever started by them.
class Desktop
{
public:
    virtual ~Desktop() = default;

    // The full path of the program found on PATH, empty when there is none.
    virtual QString findExecutable(const QString& program) = 0;

    // Starts the program on its own, to outlive the editor; false when it could not start, or
    // ended at once (within a second) with a failure.
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;

    // Hands the address to the desktop's handler for it (the web browser); false when none
    // took it.
    virtual bool openUrl(const QUrl& url) = 0;
};
