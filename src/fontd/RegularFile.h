#pragma once

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

// A file opened for reading only when it is a regular file.  A device (/dev/zero never ends),
// a FIFO (its open waits for a writer), a socket or a folder is refused with a reason, and
// never waited on: the type is looked at before the open, the open does not block, and the
// open file is looked at again in case the name changed hands in between.  Reasons are the
// system's own words where it gave some.
class RegularFile
{
    Q_DECLARE_TR_FUNCTIONS(RegularFile)

public:
    RegularFile() = default;
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    // Returns false with a reason when path cannot be opened or is no regular file.
    bool open(const QString& path, QString* error = nullptr);
    // The size the file had when it was opened.
    qint64 size() const { return m_size; }
    // Reads exactly length bytes at offset (no seek of a shared position); false with a reason
    // when the file holds fewer or the read fails.
    bool readAt(qint64 offset, char* data, qint64 length, QString* error = nullptr) const;

    // For writers about to put a new file at path: false with a reason when path names
    // something other than a regular file (through symbolic links).  A free name passes.
    static bool checkTarget(const QString& path, QString* error = nullptr);

private:
    int m_fd = -1;
    qint64 m_size = 0;
};
