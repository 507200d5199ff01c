// Prints what pointillo-fontd costs through its D-Bus interface, seen from a client:
// one method call round trip, alone and with 20 clients at once, one import of an editor
// glyph file, the editor's export of a Western font (223 glyphs, four calls each, then save),
// the save of a 7000-glyph Japanese font, and OpenFile of that font and of fonts made to cost
// a reader as much as they can, with the server's peak memory.
//
//   dbus-run-session -- <build>/bin/bench_fontd_dbus
//
// The server is the pointillo-fontd beside this program, started here with --headless.

#include "BenchFigures.h"
#include "DotBitmap.h"
#include "FontdClient.h"
#include "HostileFont.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <cstdio>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const QString service = QStringLiteral("TTEdit.Application");

// The calls of the benchmark: one that fails ends it, since its figures would mean nothing.
class Client
{
public:
    QDBusMessage call(const QString& path, const QString& member, const QVariantList& args = {})
    {
        const QDBusMessage reply = path == QLatin1String("/Application")
                                       ? m_client.callApplication(member, args)
                                       : m_client.callDocument(path, member, args);
        if (FontdClient::isError(reply)) {
            std::fprintf(stderr, "%s failed: %s\n", qPrintable(member),
                         qPrintable(reply.errorMessage()));
            std::exit(1);
        }
        return reply;
    }

    QString newFile(int kind)
    {
        return FontdClient::value(call(QStringLiteral("/Application"), QStringLiteral("NewFile"),
                                       {FontdClient::int16(kind), true}))
            .value<QDBusObjectPath>()
            .path();
    }

    void setcode(const QString& document, int code)
    {
        call(document, QStringLiteral("setcode"),
             {FontdClient::int16(0), FontdClient::int32(code), false});
    }

private:
    FontdClient m_client{60000};
};

// The CPU time the server has used so far, user and system, in microseconds.
double serverCpuMicroseconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    // Fields 14 and 15, counted after the command name's closing parenthesis.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) * 1e6 /
           double(sysconf(_SC_CLK_TCK));
}

// Scripts sharing one font, each on a connection of its own, all at once: each sets a code of
// its own, then reads it back.  Prints the round trips of the reads, and how many answered
// another client's code.
void clientsAtOnce(qint64 serverPid, const QString& document, int clients, int rounds)
{
    const double cpuBefore = serverCpuMicroseconds(serverPid);
    std::vector<QDBusConnection> connections;
    for (int i = 0; i < clients; ++i)
        connections.push_back(QDBusConnection::connectToBus(
            QDBusConnection::SessionBus, QStringLiteral("bench-client-%1").arg(i)));
    std::vector<std::vector<double>> samples(static_cast<size_t>(clients));
    std::atomic<int> wrong = 0;
    std::vector<std::thread> threads;
    for (int i = 0; i < clients; ++i) {
        threads.emplace_back([&, i] {
            const FontdClient client(connections[size_t(i)], 60000);
            const int code = 0x41 + i;
            for (int r = 0; r < rounds; ++r) {
                client.callDocument(document, QStringLiteral("setcode"),
                                    {FontdClient::int16(0), FontdClient::int32(code), false});
                QElapsedTimer clock;
                clock.start();
                const QDBusMessage reply = client.callDocument(document, QStringLiteral("getcode"),
                                                               {FontdClient::int16(0), false});
                samples[size_t(i)].push_back(double(clock.nsecsElapsed()) / 1000.0);
                if (FontdClient::value(reply).value<qint16>() != code)
                    ++wrong;
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    std::vector<double> all;
    for (const std::vector<double>& s : samples)
        all.insert(all.end(), s.begin(), s.end());
    const QByteArray what = QStringLiteral("getcode round trip, %1 client%2 at once")
                                .arg(clients)
                                .arg(clients == 1 ? "" : "s")
                                .toUtf8();
    BenchFigures::of(all).print(what.constData());
    std::printf("  getcode answered another client's code in %d of %d rounds; server CPU "
                "%.1f us per setcode + getcode\n",
                wrong.load(), clients * rounds,
                (serverCpuMicroseconds(serverPid) - cpuBefore) / (clients * rounds));
    for (int i = 0; i < clients; ++i)
        QDBusConnection::disconnectFromBus(QStringLiteral("bench-client-%1").arg(i));
}

// The server's peak resident memory since the last reset, in MB; the reset starts a new peak.
double peakMegabytes(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}
void resetPeak(qint64 pid)
{
    QFile refs(QStringLiteral("/proc/%1/clear_refs").arg(pid));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// OpenFile of file, runs times, each document closed again: the time of each call, the
// server's peak memory over them, and the answer.
void openFile(qint64 serverPid, const QString& file, const char* what, int runs)
{
    const FontdClient client(60000);
    QString answer;
    std::vector<double> samples;
    resetPeak(serverPid);
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        const QDBusMessage reply = client.callApplication(QStringLiteral("OpenFile"), {file});
        samples.push_back(double(clock.nsecsElapsed()) / 1000.0);
        if (reply.type() == QDBusMessage::ErrorMessage) {
            answer = reply.errorName() + QStringLiteral(": ") +
                     reply.errorMessage().replace(file, QStringLiteral("<file>"));
            if (reply.errorName() != QLatin1String("TTEdit.Error.OpenFailed")) {
                std::fprintf(stderr, "OpenFile failed: %s\n", qPrintable(answer));
                std::exit(1);
            }
            continue;
        }
        const QString document = FontdClient::value(reply).value<QDBusObjectPath>().path();
        answer = QStringLiteral("opened, %1 glyphs").arg(client.glyphCodes(document).size());
        client.callDocument(document, QStringLiteral("Close"));
    }
    const QByteArray tail = QStringLiteral(", server peak %1 MB; %2 bytes; %3")
                                .arg(peakMegabytes(serverPid), 0, 'f', 0)
                                .arg(QFileInfo(file).size())
                                .arg(answer)
                                .toUtf8();
    BenchFigures::of(samples).print(what, "us", tail.constData());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "no session bus: run under dbus-run-session\n");
        return 1;
    }
    if (bus.interface()->isServiceRegistered(service)) {
        std::fprintf(stderr, "%s already runs on this bus: use a private one\n",
                     qPrintable(service));
        return 1;
    }
    QProcess server;
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.start(QCoreApplication::applicationDirPath() + QStringLiteral("/pointillo-fontd"),
                 {QStringLiteral("--headless")});
    QElapsedTimer startClock;
    startClock.start();
    while (!bus.interface()->isServiceRegistered(service)) {
        if (startClock.elapsed() > 20000 || server.state() == QProcess::NotRunning) {
            std::fprintf(stderr, "pointillo-fontd did not start\n");
            return 1;
        }
        QThread::msleep(5);
    }
    std::printf("pointillo-fontd start until it owns its name: %.1f ms\n",
                double(startClock.nsecsElapsed()) / 1e6);

    QTemporaryDir dir;
    Client client;
    const QString western = client.newFile(1);

    // One round trip: getcode.
    const QVariantList getcodeArgs = {FontdClient::int16(0), false};
    for (int i = 0; i < 200; ++i)
        client.call(western, QStringLiteral("getcode"), getcodeArgs);
    constexpr int calls = 5000;
    BenchFigures::measure(calls, [&] {
        client.call(western, QStringLiteral("getcode"), getcodeArgs);
    }).print("getcode round trip");

    BenchFigures::measure(calls, [&] {
        client.call(western, QStringLiteral("selectall"));
    }).print("selectall round trip (no arguments)");
    BenchFigures::measure(calls, [&] {
        client.setcode(western, 0x41);
    }).print("setcode round trip (nib)");
    clientsAtOnce(server.processId(), western, 1, 2000);
    clientsAtOnce(server.processId(), western, 20, 200);

    // One import of the editor's 482 x 482 one-bit file (12 x 20 dots at density 0.45).
    const QString glyphFile = dir.filePath(QStringLiteral("ptl_dots.bmp"));
    DotBitmap(DotBitmap::randomDots(12, 20, 20240601), 24).write(glyphFile);
    client.setcode(western, 0x41);
    constexpr int imports = 1000;
    BenchFigures::measure(imports, [&] {
        client.call(western, QStringLiteral("ImportBmpfile"), {glyphFile});
    }).print("ImportBmpfile 482 x 482, 1 bit");

    // The editor's batch export: 223 codes, setcode/selectall/Delete/ImportBmpfile each,
    // every glyph its own file, then save.
    std::vector<QString> files;
    std::vector<int> codes;
    for (int code = 32; code < 256; ++code) {
        if (code == 127)
            continue;
        codes.push_back(code);
        files.push_back(dir.filePath(QStringLiteral("g%1.bmp").arg(code)));
        DotBitmap(code == 32 ? QStringList() : DotBitmap::randomDots(12, 20, quint32(code)), 24)
            .write(files.back());
    }
    const QString font = dir.filePath(QStringLiteral("western.ttf"));
    constexpr int batches = 7;
    BenchFigures::measure(batches, [&] {
        const QString document = client.newFile(1);
        for (size_t i = 0; i < codes.size(); ++i) {
            client.setcode(document, codes[i]);
            client.call(document, QStringLiteral("selectall"));
            client.call(document, QStringLiteral("Delete"));
            client.call(document, QStringLiteral("ImportBmpfile"), {files[i]});
        }
        client.call(document, QStringLiteral("SaveAs"), {font});
        client.call(document, QStringLiteral("Close"));
    }).print("223 glyphs x 4 calls + SaveAs (Western)");

    // The same batch split by phase, to see where its time goes.
    {
        const QString document = client.newFile(1);
        BenchFigures::measure(batches, [&] {
            for (size_t i = 0; i < codes.size(); ++i) {
                client.setcode(document, codes[i]);
                client.call(document, QStringLiteral("selectall"));
                client.call(document, QStringLiteral("Delete"));
            }
        }).print("  223 x setcode + selectall + Delete");
        BenchFigures::measure(batches, [&] {
            for (size_t i = 0; i < codes.size(); ++i)
                client.call(document, QStringLiteral("ImportBmpfile"), {files[i]});
        }).print("  223 x ImportBmpfile, one file each");
        BenchFigures::measure(batches, [&] {
            client.call(document, QStringLiteral("SaveAs"), {font});
        }).print("  SaveAs of the 223-glyph font");
        client.call(document, QStringLiteral("Close"));
    }

    // A Japanese font of 7000 glyphs: built over D-Bus (not timed), then saved.
    const QString japanese = client.newFile(0);
    int filled = 0;
    client.setcode(japanese, 0x8140);
    QElapsedTimer fillClock;
    fillClock.start();
    while (filled < 7000) {
        client.call(japanese, QStringLiteral("ImportBmpfile"),
                    {files[size_t(filled) % files.size()]});
        ++filled;
        client.call(japanese, QStringLiteral("viewnextcode"));
    }
    std::printf("(7000 Japanese glyphs imported in %.0f ms, 2 calls each)\n",
                double(fillClock.nsecsElapsed()) / 1e6);
    const QString japaneseFont = dir.filePath(QStringLiteral("japanese.ttf"));
    client.call(japanese, QStringLiteral("SaveAs"), {japaneseFont});
    constexpr int saves = 9;
    BenchFigures::measure(saves, [&] {
        client.call(japanese, QStringLiteral("save"));
    }).print("save, 7000-glyph Japanese font");
    std::printf("Japanese font: %lld bytes\n", QFileInfo(japaneseFont).size());
    client.call(japanese, QStringLiteral("Close"));
    openFile(server.processId(), japaneseFont, "OpenFile, 7000-glyph Japanese font", saves);

    // Fonts made to cost a reader most: codes reaching glyphs of the most contours a glyph
    // holds through a loca going back and forth over one glyph, through one glyph shared by
    // every code, and a 64 MB font of such glyphs; then the heaviest fonts the reader's bounds
    // admit, in contours and in points.
    const auto hostile = [&](const char* name, HostileFont::Layout layout, int codes, int contours,
                             int pointsPerContour = 1) {
        const QString file = dir.filePath(QString::fromLatin1(name));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) ||
            out.write(HostileFont::make(layout, codes, contours, pointsPerContour)) < 0)
            std::exit(1);
        return file;
    };
    using Layout = HostileFont::Layout;
    openFile(server.processId(), hostile("loca.ttf", Layout::BackAndForth, 7000, 32767),
             "OpenFile, loca back and forth", saves);
    openFile(server.processId(), hostile("shared.ttf", Layout::Shared, 7000, 32767),
             "OpenFile, one glyph for 7000 codes", saves);
    openFile(server.processId(), hostile("distinct.ttf", Layout::Distinct, 1015, 32767),
             "OpenFile, 64 MB of heavy glyphs", saves);
    openFile(server.processId(), hostile("contours.ttf", Layout::Distinct, 128, 32767),
             "OpenFile, 4 M contours (the most admitted)", 3);
    openFile(server.processId(), hostile("points.ttf", Layout::Distinct, 256, 1, 65535),
             "OpenFile, 16 M points (the most admitted)", 3);

    client.call(QStringLiteral("/Application"), QStringLiteral("Quit"));
    server.waitForFinished(10000);
    return 0;
}
