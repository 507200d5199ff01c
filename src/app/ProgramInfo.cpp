#include "app/ProgramInfo.h"

#include <QCoreApplication>

int ProgramInfo::majorVersion()
{
    return POINTILLO_VERSION_MAJOR;
}

int ProgramInfo::minorVersion()
{
    return POINTILLO_VERSION_MINOR;
}

QString ProgramInfo::versionText(int major, int minor)
{
    return QCoreApplication::translate("ProgramInfo", "version %1.%2")
        .arg(major)
        .arg(minor, 2, 10, QLatin1Char('0'));
}

QString ProgramInfo::notice()
{
    return QCoreApplication::translate("ProgramInfo", "(C) marrowby");
}

QString ProgramInfo::infoLine()
{
    return QCoreApplication::translate("ProgramInfo", "\"Pointillo\" %1 for TTEdit  %2")
        .arg(versionText(), notice());
}

QString ProgramInfo::makerPage()
{
    return QStringLiteral("http://www.marrowby.com/");
}
