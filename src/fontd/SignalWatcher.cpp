#include "fontd/SignalWatcher.h"

#include <QList>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// A signal handler gets no context but the signal number: the write end of the socket pair has
// to be reachable from a static.  Set once by the only SignalWatcher, before any handler.
volatile sig_atomic_t writeSocket = -1;

void onSignal(int signalNumber)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    if (writeSocket >= 0) {
        // A full socket means a pile of pending signals already: one more can be dropped.
        [[maybe_unused]] const ssize_t written = ::write(writeSocket, &byte, 1);
    }
    errno = savedErrno;
}
} // namespace

SignalWatcher::SignalWatcher(QObject* parent)
    : QObject(parent)
{}

SignalWatcher::~SignalWatcher()
{
    for (int signalNumber : std::as_const(m_watched))
        ::signal(signalNumber, SIG_DFL);
    if (m_sockets[0] >= 0) {
        writeSocket = -1;
        ::close(m_sockets[0]);
        ::close(m_sockets[1]);
    }
}

bool SignalWatcher::watch(std::initializer_list<int> signalNumbers, QString* error)
{
    Q_ASSERT(writeSocket < 0 || writeSocket == m_sockets[1]);
    if (m_sockets[0] < 0) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, m_sockets) != 0) {
            if (error)
                *error = tr("cannot create a socket pair: %1")
                             .arg(QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        writeSocket = m_sockets[1];
        m_notifier = new QSocketNotifier(m_sockets[0], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &SignalWatcher::readSignals);
    }
    for (int signalNumber : signalNumbers) {
        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        if (::sigaction(signalNumber, &action, nullptr) != 0) {
            if (error)
                *error = tr("cannot handle signal %1: %2")
                             .arg(signalNumber)
                             .arg(QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        m_watched.append(signalNumber);
    }
    return true;
}

void SignalWatcher::readSignals()
{
    unsigned char bytes[16];
    ssize_t count;
    while ((count = ::read(m_sockets[0], bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < count; ++i)
            emit signalled(bytes[i]);
    }
}
