#include "app/SystemDesktop.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

QString SystemDesktop::findExecutable(const QString& program)
{
    return QStandardPaths::findExecutable(program);
}

bool SystemDesktop::startDetached(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

bool SystemDesktop::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}
