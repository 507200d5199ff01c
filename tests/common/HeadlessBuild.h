#pragma once

#include <QImage>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// pointillo-fontd --build as a user runs it: a process of its own, without a display, a
// session bus or a runtime folder.
class HeadlessBuild
{
public:
    struct Result
    {
        int status = -1; // -1: it did not end, or died of a signal
        QString out;
        QString err;
    };
    // Runs pointillo-fontd with the arguments; extra variables are added to its environment.
    static Result run(const QStringList& arguments, const QProcessEnvironment& extra = {});

    // A character table with random set dots (45 %) in the top-left dotsX x dotsY pixels of
    // every cell of 32..255, the same for the same seed.
    static QImage randomTable(quint32 seed, int dotsX, int dotsY);
};
