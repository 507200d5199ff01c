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
    return QStringLiteral("version %1.%2").arg(major).arg(minor, 2, 10, QLatin1Char('0'));
}

QString ProgramInfo::notice()
{
    return QCoreApplication::translate("ProgramInfo", "(C) marrowby");
}

QString ProgramInfo::infoLine()
{
    return QStringLiteral("\"Pointillo\" ") + versionText() + QStringLiteral(" for TTEdit  ") +
           notice();
}

QString ProgramInfo::makerPage()
{
    return QStringLiteral("http://www.marrowby.com/");
}
