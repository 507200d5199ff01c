#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The system-information programs of the usual Linux desktops, in the order the about box
// looks for them.
class SystemInfoPrograms
{
public:
    struct Program
    {
        QString name; // looked up on PATH
        QStringList arguments;

        bool operator==(const Program&) const = default;
    };

    // Every candidate, the ones that belong to the running desktop first (currentDesktop is
    // XDG_CURRENT_DESKTOP: desktop names separated by colons), the others after them in their
    // own order.
    static QList<Program> candidates(const QString& currentDesktop);
};
