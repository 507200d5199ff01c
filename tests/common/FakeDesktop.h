#pragma once

#include "app/Desktop.h"

#include <QList>
#include <QMap>

// A desktop for tests: programs "installed" by name, and a record of what was started and
// opened instead of starting or opening anything.
class FakeDesktop : public Desktop
{
public:
    QMap<QString, QString> installed; // program name -> full path
    bool starts = true;               // startDetached succeeds
    bool opens = true;                // openUrl succeeds
    QStringList started;              // "path argument...", one entry a start
    QList<QUrl> opened;

    QString findExecutable(const QString& program) override { return installed.value(program); }
    bool startDetached(const QString& program, const QStringList& arguments) override
    {
        started << (QStringList{program} + arguments).join(u' ');
        return starts;
    }
    bool openUrl(const QUrl& url) override
    {
        opened << url;
        return opens;
    }
};
