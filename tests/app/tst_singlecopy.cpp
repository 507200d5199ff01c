// One copy of the program at a time: the claim, a socket left by a crash, and the real
// program started again while it runs, and twice at the same instant.

#include "app/SingleCopy.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A socket file with nobody behind it, as a copy that crashed leaves it.
bool leaveStaleSocket(const QString& name)
{
    const QByteArray path = QFile::encodeName(name);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof address.sun_path)
        return false;
    memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound =
        fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        close(fd);
    return bound && QFileInfo::exists(name);
}

// A file's bytes and time, to tell that nobody wrote it.
QString stamp(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("(missing)");
    return QString::fromLatin1(file.readAll().toHex()) + u' ' +
           QFileInfo(fileName).lastModified().toString(Qt::ISODateWithMs);
}

} // namespace

class TestSingleCopy : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void laterClaimAsksTheFirst();
    void staleSocketIsReplaced();
    void secondProgramTouchesNothing();
    void twoAtOnceLeaveOne();

private:
    // The program, copied beside its own settings file, started in the work folder with the
    // home of this test; without a session bus it stays at its first message.
    QProcess* start();
    void put(const QString& fileName, const QByteArray& bytes);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_program;
    QList<QProcess*> m_processes;
};

void TestSingleCopy::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_program.clear();
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("home/.config/marrowby")));
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("bin")));
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("work")));
    qputenv("HOME", QFile::encodeName(m_dir->filePath(QStringLiteral("home"))));
}

void TestSingleCopy::cleanup()
{
    for (QProcess* p : std::as_const(m_processes)) {
        p->kill();
        p->waitForFinished(5000);
        delete p;
    }
    m_processes.clear();
}

void TestSingleCopy::put(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QProcess* TestSingleCopy::start()
{
    if (m_program.isEmpty()) {
        m_program = m_dir->filePath(QStringLiteral("bin/pointillo"));
        const QString built = qEnvironmentVariable("POINTILLO_BIN_DIR") + "/pointillo";
        if (!QFile::copy(built, m_program))
            qWarning() << "cannot copy" << built;
    }
    auto* p = new QProcess;
    m_processes << p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/none"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    p->setProcessEnvironment(env);
    p->setWorkingDirectory(m_dir->filePath(QStringLiteral("work")));
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(m_program, {});
    return p;
}

void TestSingleCopy::laterClaimAsksTheFirst()
{
    const QString name = m_dir->filePath(QStringLiteral("copies"));
    SingleCopy first(name);
    QSignalSpy forward(&first, &SingleCopy::comeForward);
    QVERIFY(first.claim());
    QVERIFY(!SingleCopy(name).claim());
    QVERIFY(forward.wait());
    QVERIFY(!SingleCopy(name).claim());
    QTRY_COMPARE(forward.count(), 2);
    // Other homes, other names.
    const QString mine = SingleCopy::defaultName();
    QVERIFY(mine.startsWith(QStringLiteral("/")));
    QVERIFY(QFileInfo(mine).fileName().startsWith(QStringLiteral("Pointillo-")));
    qputenv("HOME", "/elsewhere");
    QVERIFY(SingleCopy::defaultName() != mine);
}

void TestSingleCopy::staleSocketIsReplaced()
{
    const QString name = m_dir->filePath(QStringLiteral("copies"));
    QVERIFY(leaveStaleSocket(name));
    SingleCopy first(name);
    QVERIFY(first.claim());
    QSignalSpy forward(&first, &SingleCopy::comeForward);
    QVERIFY(!SingleCopy(name).claim());
    QVERIFY(forward.wait());
}

void TestSingleCopy::secondProgramTouchesNothing()
{
    const QString ini = m_dir->filePath(QStringLiteral("bin/ptl_settings.ini"));
    const QString user = m_dir->filePath(QStringLiteral("home/.config/marrowby/marrowby.conf"));
    const QString table = m_dir->filePath(QStringLiteral("work/ptl_buf.bmp"));
    QProcess* first = start();
    QVERIFY(first->waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(SingleCopy::defaultName()), 20000);
    // Written after the first copy has read them: only a second copy could touch them now.
    put(ini, "[POINTILLO]\nX=16\n");
    put(user, "[POINTILLO]\nX=14\n");
    put(table, "not a picture");
    const QStringList before{stamp(ini), stamp(user), stamp(table)};

    QProcess* second = start();
    QVERIFY(second->waitForFinished(20000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(first->state(), QProcess::Running);
    QCOMPARE((QStringList{stamp(ini), stamp(user), stamp(table)}), before);
    QCOMPARE(QDir(m_dir->filePath(QStringLiteral("work"))).entryList(QDir::Files),
             QStringList{"ptl_buf.bmp"});
}

void TestSingleCopy::twoAtOnceLeaveOne()
{
    // The copy before them crashed and left its socket.
    QVERIFY(leaveStaleSocket(SingleCopy::defaultName()));
    QProcess* a = start();
    QProcess* b = start();
    QVERIFY(a->waitForStarted() && b->waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(
        a->state() == QProcess::NotRunning || b->state() == QProcess::NotRunning, 20000);
    QProcess* ended = a->state() == QProcess::NotRunning ? a : b;
    QProcess* running = ended == a ? b : a;
    QCOMPARE(ended->exitCode(), 0);
    // The one left keeps running and answers the next copy.
    QVERIFY(!running->waitForFinished(1000));
    QVERIFY(!SingleCopy(SingleCopy::defaultName()).claim());
}

QTEST_GUILESS_MAIN(TestSingleCopy)
#include "tst_singlecopy.moc"
