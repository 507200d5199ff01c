#pragma once

#include <QList>
#include <QObject>
#include <initializer_list>

class QSocketNotifier;

// Turns Unix signals (SIGTERM, SIGINT) into a Qt signal on the event loop.  The handler only
// writes the signal number into a socket pair; everything else happens when the notifier
// reads it.  One instance per process.
class SignalWatcher : public QObject
{
    Q_OBJECT

public:
    explicit SignalWatcher(QObject* parent = nullptr);
    // Puts the previous handlers back.
    ~SignalWatcher() override;

    // Returns false with a reason when the socket pair or a handler cannot be set up.
    bool watch(std::initializer_list<int> signalNumbers, QString* error = nullptr);

signals:
    void signalled(int signalNumber);

private:
    void readSignals();

    int m_sockets[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
    QList<int> m_watched;
};
