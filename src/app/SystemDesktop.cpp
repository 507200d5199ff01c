#include "app/SystemDesktop.h"

#include <QDesktopServices>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <ctime>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// How long a program may take to fail at start and still count as not started.
constexpr int GraceMs = 1000;
constexpr int StepMs = 20;

} // namespace

QString SystemDesktop::findExecutable(const QString& program)
{
    return QStandardPaths::findExecutable(program);
}

bool SystemDesktop::startDetached(const QString& program, const QStringList& arguments)
{
    // A program that ends at once with a failure did not start for the user: another desktop's
    // settings tool ends so outside its desktop.  A watcher starts it and waits a moment: it
    // ends with the program's status when the program ends within that moment, else with 0,
    // and leaves the program to run on its own, a child of the system's as a detached one is.
    // Between fork and exec only async-signal-safe calls.
    QList<QByteArray> words{QFile::encodeName(program)};
    for (const QString& argument : arguments)
        words << argument.toLocal8Bit();
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const pid_t watcher = ::fork();
    if (watcher < 0)
        return false;
    if (watcher == 0) {
        ::setsid();
        const pid_t child = ::fork();
        if (child < 0)
            ::_exit(126);
        if (child == 0) {
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        for (int waited = 0; waited < GraceMs; waited += StepMs) {
            int status = 0;
            if (::waitpid(child, &status, WNOHANG) == child)
                ::_exit(WIFEXITED(status) ? WEXITSTATUS(status) : 128);
            const timespec step{0, StepMs * 1000 * 1000};
            ::nanosleep(&step, nullptr);
        }
        ::_exit(0);
    }
    int status = 0;
    while (::waitpid(watcher, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool SystemDesktop::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}
