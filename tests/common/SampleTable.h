#pragma once

#include <QImage>

// A character table with a little of everything, for the tests of the operations on it: set
// dots in a regular pattern across every cell, clear dots between them, and two pixels of
// other colours that are neither, (1, 1) green qRgb(10, 200, 30) and (2, 1) almost black
// qRgb(0, 0, 1).
class SampleTable
{
public:
    static QImage make();
};
