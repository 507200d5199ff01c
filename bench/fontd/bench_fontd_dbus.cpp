// Prints what pointillo-fontd costs through its D-Bus interface, seen from a client:
// one method call round trip, one import of an editor glyph file, the editor's export of a
// Western font (223 glyphs, four calls each, then save), and the save of a 7000-glyph
// Japanese font.
//
//   dbus-run-session -- <build>/bin/bench_fontd_dbus
//
// The server is the pointillo-fontd beside this program, started here with --headless.

#include "BenchFigures.h"
#include "DotBitmap.h"
#include "FontdClient.h"

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
#include <cstdio>
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

    client.call(QStringLiteral("/Application"), QStringLiteral("Quit"));
    server.waitForFinished(10000);
    return 0;
}
