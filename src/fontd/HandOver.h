#pragma once

#include <QCoreApplication>
#include <QString>

// Another program of this installation run in place of this process (execv): the same process
// id, arguments and environment, so that whoever started this one (a shell, the session bus, a
// test) waits on that one.  The programs find each other from where the running one lies, so
// an install under any prefix, and the build tree, which has the same layout, finds its own.
class HandOver
{
    Q_DECLARE_TR_FUNCTIONS(HandOver)

public:
    // The program at relativePath from the folder of the running executable.
    static QString programPath(const QString& relativePath);

    // Runs program with argv (argv[0] included, as given to this process).  Returns only when
    // it could not be started, with the reason.
    static QString exec(const QString& program, char* argv[]);
};
