#pragma once

#include "ttedit/AutomationObject.h"

#include <QList>
#include <QSet>
#include <QString>
#include <deque>
#include <optional>
#include <utility>

// The glyph exports of a batch, sent without waiting for the answers of the codes before: a
// server takes the calls of one client in the order they were sent, so the next code's calls
// go out while the server still imports the code before.  A glyph's file must stay as it is
// until the server has read it, so the files go round a ring beside the export's own file, one
// for each import in flight.  Side bearings go only onto a glyph the server took: they are
// sent, with the code again, once its import is answered.  Every answer is checked, and the
// results come in the order of the codes.
class ExportPipeline
{
public:
    enum class Status {
        Sent,            // imported, with its side bearings when they went along
        Refused,         // the server refused the import: the font keeps its glyph
        BearingsRefused, // imported, but the side bearings were refused
        Unreachable,     // no answer: the server is gone or hangs
    };
    struct Result
    {
        qint32 code;
        Status status;
        QString reason; // the server's or the connection's words, but for Sent
    };

    // The codes whose font holds are asked in one go at most this many at a time, so that the
    // answers awaited stay below the bus's limit for one connection.
    static constexpr int ProbeBlock = 60;

    // document: the font; dotsFile: the export's file, the ring's first; window: the codes in
    // flight at most, each with a file of its own.
    ExportPipeline(AutomationPtr document, const QString& dotsFile, int window);
    // Waits for every code in flight, then removes the ring's files but the first.
    ~ExportPipeline();
    Q_DISABLE_COPY_MOVE(ExportPipeline)

    // Which of codes the font holds, each code's setcode and getcode sent before the first
    // answer is awaited (after every code in flight is settled).  Nothing when an answer did not
    // come: the server is gone or hangs.
    std::optional<QSet<qint32>> held(const QList<qint32>& codes);

    // The file to write the next glyph to.  When the window is full, the oldest code in flight
    // is settled first, so that its file is free again.
    QString nextFile();
    // Sends the import of the glyph just written to nextFile() at code, a code the font holds;
    // side bearings (left, right) follow when given.
    void send(qint32 code, std::optional<std::pair<qint16, qint16>> sideBearings);
    // Waits for every code in flight.
    void finish();

    // The codes settled since the last call, in the order they were sent.
    QList<Result> takeResults();

private:
    struct InFlight
    {
        qint32 code;
        AutomationReplyPtr import;   // null once answered
        AutomationReplyPtr bearings; // sent once the import is answered
        std::optional<std::pair<qint16, qint16>> sideBearings;
    };
    QString ringFile(int slot) const;
    // Takes the oldest code's next answer: its import's (which frees its file, and sends its
    // side bearings), or its side bearings'.
    void settleOldest();

    AutomationPtr m_document;
    QString m_dotsFile;
    int m_window;
    int m_next = 0;    // the ring's slot of the next glyph
    int m_used = 1;    // the slots written so far
    int m_imports = 0; // imports in flight, each holding its file
    std::deque<InFlight> m_inFlight;
    QList<Result> m_results;
};
