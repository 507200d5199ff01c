#pragma once

#include <QByteArrayView>
#include <QCoreApplication>
#include <QString>
#include <functional>

// Writes whole files so that a name shows the old contents or all of the new ones and never
// anything in between, whatever happens meanwhile (a full disk, a kill -9): the bytes go to a
// new file in the target's folder that has no name yet, reach the disk, and only then take
// the name, in one step.  Where the filesystem cannot make nameless files the new file has a
// hidden temporary name until then.  Reasons are the system's words ("No space left on
// device").
//
// Unlike QSaveFile this can publish a file without replacing one, and says why a write
// failed.
class AtomicFile
{
    Q_DECLARE_TR_FUNCTIONS(AtomicFile)

public:
    // Whether the file and its name reach the disk before the write returns (a crash of the
    // machine then leaves the whole file), or whenever the system writes them back (a crash
    // of the program still leaves the old file or the whole new one), as a compiler writes
    // what it can make again.
    enum class Flush { ToDisk, Later };

    // Writes data as path, replacing the regular file there (through a symbolic link, the file
    // it names) and keeping its permissions; a new file gets 0666 less the umask.  Something
    // other than a regular file at path is refused.  Returns false with a reason, leaving path
    // as it was.
    static bool replace(const QString& path, QByteArrayView data, QString* error = nullptr,
                        Flush flush = Flush::ToDisk);

    // Writes data under the first name of nameAt(1), nameAt(2), ... (files in folder; an empty
    // name is passed over) that names nothing, never replacing anything, and returns it.
    // Returns an empty string with a reason when the write fails or none of the first
    // MaxNames is free.  A kill at any moment leaves no new file, or the whole one.
    static QString create(const QString& folder, const std::function<QString(int)>& nameAt,
                          QByteArrayView data, QString* error = nullptr);
    static constexpr int MaxNames = 10000;

    // For tests: set to "hidden", the new file has a hidden name from the start, as on a
    // filesystem without nameless files; set to "link", it also takes its name by a hard link,
    // as where the exclusive rename is missing too.
    static constexpr const char* FallbackVariable = "POINTILLO_TEST_ATOMICFILE_FALLBACK";
};
