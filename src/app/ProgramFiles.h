#pragma once

#include <QString>

// The two files the editor keeps under fixed names: the glyph bitmap that the font server
// imports (ptl_dots.bmp) and the settings file (ptl_settings.ini).  Both belong in the
// program's folder, where an administrator can pin the settings for every user.  The glyph
// bitmap moves to a folder of the user's own where the program's folder does not serve: an
// installed program's folder that users cannot write, or a folder that cannot be named (its
// name is not valid in the file-name encoding, so Qt gives no path for it at all).  A copy in
// the user's own folder also keeps two users from ever writing each other's file.
class ProgramFiles
{
public:
    // What start-up knows of the folders; an empty name is a folder that is not there.
    struct Folders
    {
        QString program;              // absolute; empty when it cannot be named
        bool programWritable = false; // the glyph bitmap can be written there
        QString runtime;              // the user's runtime folder (XDG_RUNTIME_DIR)
        QString cache;                // the user's cache folder, for a session without one
    };

    // The glyph bitmap: beside the program where that folder is writable, else in a
    // "pointillo" folder of the user's runtime folder, else of the user's cache folder.
    // Never a relative path: with none of them it is empty, and writing it fails.
    static QString dotsFileName(const Folders& folders);

    // The settings file beside the program; empty (nothing read, nothing written) when the
    // program's folder cannot be named.
    static QString iniFileName(const Folders& folders);

    // The folders of the running program and its user.  The user's folders are looked up only
    // when the program's folder does not serve.
    static Folders probe();

    // The user's own folder for the character table: "pointillo" in the user's data folder
    // (~/.local/share/pointillo, or $XDG_DATA_HOME/pointillo); empty when there is none.
    static QString tableFolder();
    // The table file a name typed in its box stands for: an absolute name as it is, a relative
    // one (the default ptl_buf.bmp) in folder, the user's table folder, so that the program
    // finds the same table whichever folder it was started from.  Every file of the table
    // derives from this one name.  An empty name stays empty; so does folder's part when
    // folder is empty (the name is then the current folder's).
    static QString tableFileName(const QString& typed, const QString& folder);
    // The file the start loads: tableFileName, or, where that does not exist and a relative
    // name's file is in the current folder (as an older start kept it), that one.
    static QString startTableFile(const QString& typed, const QString& folder);
};
