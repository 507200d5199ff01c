#pragma once

#include <QString>

// What the program says about itself: its name, its version, its notice and where its maker
// is found.  The version is the project's (CMakeLists.txt), given to ProgramInfo.cpp alone.
class ProgramInfo
{
public:
    static int majorVersion();
    static int minorVersion();

    // "version 1.08": the minor number written with at least two digits.
    static QString versionText(int major, int minor);
    static QString versionText() { return versionText(majorVersion(), minorVersion()); }

    // The notice line of the about box, which also ends the main window's information line.
    static QString notice();

    // The main window's information line: "\"Pointillo\" version 1.08 for TTEdit", then the
    // notice.
    static QString infoLine();

    // The maker's web page.
    static QString makerPage();
};
