#include "app/ProgramFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString dotsName = QStringLiteral("ptl_dots.bmp");
const QString iniName = QStringLiteral("ptl_settings.ini");
const QString ownFolder = QStringLiteral("pointillo");

QString in(const QString& folder, const QString& name)
{
    return QDir(folder).filePath(name);
}

} // namespace

QString ProgramFiles::dotsFileName(const Folders& folders)
{
    if (!folders.program.isEmpty() && folders.programWritable)
        return in(folders.program, dotsName);
    for (const QString& user : {folders.runtime, folders.cache}) {
        if (!user.isEmpty())
            return in(in(user, ownFolder), dotsName);
    }
    return folders.program.isEmpty() ? QString() : in(folders.program, dotsName);
}

QString ProgramFiles::iniFileName(const Folders& folders)
{
    return folders.program.isEmpty() ? QString() : in(folders.program, iniName);
}

QString ProgramFiles::tableFolder()
{
    // Not AppDataLocation: that follows the running program's name (a test's, a renamed
    // copy's) and the organisation's, and the table must be found by every one of them.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data.isEmpty() ? QString() : in(data, ownFolder);
}

QString ProgramFiles::tableFileName(const QString& typed, const QString& folder)
{
    if (typed.isEmpty() || folder.isEmpty() || QDir::isAbsolutePath(typed))
        return typed;
    return QDir::cleanPath(in(folder, typed));
}

QString ProgramFiles::startTableFile(const QString& typed, const QString& folder)
{
    const QString table = tableFileName(typed, folder);
    if (table != typed && !QFileInfo::exists(table) && QFileInfo(typed).isFile())
        return QFileInfo(typed).absoluteFilePath();
    return table;
}

ProgramFiles::Folders ProgramFiles::probe()
{
    Folders folders;
    // Qt answers an empty path for a folder whose name it cannot decode; a name that lost
    // bytes in decoding names nothing that exists.
    const QString program = QCoreApplication::applicationDirPath();
    if (QDir::isAbsolutePath(program) && QFileInfo(program).isDir())
        folders.program = program;
    if (!folders.program.isEmpty()) {
        // access(2) answers for this user, read-only mounts included.  Another user's file
        // in a shared folder is not ours to overwrite.
        const QFileInfo dots(in(folders.program, dotsName));
        folders.programWritable =
            QFileInfo(folders.program).isWritable() && (!dots.exists() || dots.isWritable());
    }
    if (!folders.programWritable) {
        folders.runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        folders.cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    }
    return folders;
}
