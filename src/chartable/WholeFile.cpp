#include "chartable/WholeFile.h"

#include <QSaveFile>

bool WholeFile::write(const QString& path, QByteArrayView bytes, QString* error)
{
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (path.isEmpty())
        return fail(tr("no file name is given"));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    // A full disk may take part of the bytes without an error; the next write then gives the
    // reason.  A short file must never be committed.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.data() + done, bytes.size() - done);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return fail(reason);
        }
        done += written;
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}
