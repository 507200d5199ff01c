#pragma once

#include <QDir>
#include <QLocalServer>
#include <QObject>
#include <QString>

// The rule that one copy of the program runs for a user: the first copy listens on a local
// socket named after the window's caption, and a later copy that reaches it has asked it to
// come forward by that alone, and ends before it reads or writes anything.  The socket is in
// the user's own runtime folder (else in the user's cache folder), where no other user can take
// the name, and its name carries the home folder, whose settings it guards: tests with homes
// of their own never meet.
class SingleCopy : public QObject
{
    Q_OBJECT

public:
    // "Pointillo-" and a digest of the home folder, in the user's runtime folder, or where
    // there is none in "pointillo" of the user's cache folder; empty when neither is there
    // (the copy then runs unguarded).
    static QString defaultName(const QString& home = QDir::homePath());

    explicit SingleCopy(const QString& name = defaultName(), QObject* parent = nullptr);
    ~SingleCopy() override;

    // True when no other copy runs: this one now answers later copies (a socket left by a
    // copy that crashed is replaced).  False when another copy runs; it has been asked to come
    // forward.  Two copies claiming at once are taken one after the other, so exactly one
    // wins.  A copy that cannot listen at all runs unguarded rather than not at all.
    bool claim();

    QString name() const { return m_name; }

signals:
    // A later copy was started.
    void comeForward();

private:
    void takeRequests();

    QString m_name;
    QLocalServer m_server;
};
