#pragma once

#include <QByteArrayView>
#include <QCoreApplication>
#include <QString>

// Writes files of the editor as a whole: to a temporary file beside the target that is renamed
// over it once every byte is on disk, so a failure leaves a former file untouched.
class WholeFile
{
    Q_DECLARE_TR_FUNCTIONS(WholeFile)

public:
    // Writes bytes to path.  Returns false, with the system's reason in error, when the name
    // is empty or the file cannot be written in full.
    static bool write(const QString& path, QByteArrayView bytes, QString* error = nullptr);
};
