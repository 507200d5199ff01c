#include "fontd/HandOver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <unistd.h>

QString HandOver::programPath(const QString& relativePath)
{
    // Without an application object: /proc/self/exe names the executable, links resolved.
    const QString self = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    return QDir::cleanPath(QFileInfo(self).path() + u'/' + relativePath);
}

QString HandOver::exec(const QString& program, char* argv[])
{
    const QByteArray path = QFile::encodeName(program);
    ::execv(path.constData(), argv);
    const int error = errno;
    return tr("cannot start %1: %2")
        .arg(QDir::toNativeSeparators(program), QString::fromLocal8Bit(std::strerror(error)));
}
