#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <QtGlobal>

// The rules of a batch run over a range of single-byte codes: the range as the user types it,
// the progress of the run, and the codes it could not send, written short.
class ScanRange
{
public:
    static constexpr qint32 First = 32; // the first and last code a range may hold
    static constexpr qint32 Last = 255;
    static constexpr qint32 Skipped = 127; // DEL: never exported

    struct Range
    {
        qint32 start;
        qint32 end;
    };

    // The range typed as two texts: each read as its leading number (0 when there is none),
    // rounded half to even and held to First .. Last; the smaller one becomes the start.
    static Range check(QStringView first, QStringView last);
    // The code one of those texts gives, before they are put in order.
    static qint32 boxCode(QStringView text);

    // The part of the run done when code c starts, in percent: (c - start) * 100 / (end -
    // start).  A range of one code is done at once: 100.
    static float progress(qint32 c, qint32 start, qint32 end);

    // The codes in ascending hexadecimal, three or more in a row as one span: "41, 43, 80-9F".
    static QString codeList(QList<qint32> codes);
};
