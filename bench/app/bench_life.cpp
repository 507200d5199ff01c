// Prints the cost of the editor's start-up to its first drawn grid and of its exit, with the
// font server already running and a font open in it:
// - a whole start as the program makes it, in a new process each time: from the process's
//   start to each step of main() (the application object, the one-copy claim, the window,
//   its settings, its first show, the first activation, which draws the grid and sets up the
//   font server), then the exit by close() and the end of the process;
// - the parts again in one process, where they are timed on their own: the settings, the
//   table file, the font's question;
// - a second copy's whole run: started, told that a copy runs, ended.
//
//   dbus-run-session -- <build>/bin/bench_life [runs]
//
// Runs headless on the offscreen platform unless a platform is chosen, in a home and a folder
// of its own: the settings and the table file it writes go there.

#include "BenchFigures.h"
#include "app/Form1.h"
#include "app/ProgramFiles.h"
#include "app/Prompt.h"
#include "app/SingleCopy.h"
#include "chartable/CharTable.h"
#include "chartable/TableFile.h"
#include "ttedit/DBusAutomationHost.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

#include <time.h>

namespace {

const char* const OneStart = "--one-start";

qint64 monotonicNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// One start and exit in this process, as main() makes them, each step printed as the time
// since the parent started the process, in microseconds.
int oneStart(int argc, char** argv, qint64 started)
{
    const auto step = [started](const char* name) {
        std::printf("%s %.1f\n", name, double(monotonicNs() - started) / 1000.0);
    };
    step("1 main entered");
    QApplication app(argc, argv);
    step("2 application object");
    SingleCopy single;
    if (!single.claim())
        return 1;
    step("3 one-copy claim");
    Form1 form;
    form.iniFileName = QDir::home().filePath(QStringLiteral("ptl_settings.ini"));
    step("4 window built");
    form.Form_Load();
    step("5 settings loaded");
    form.show();
    QApplication::processEvents();
    step("6 shown");
    form.Form_Activate();
    step("7 first activation: table, grid, set-up");
    form.close();
    step("8 exit: settings, table, windows");
    std::fflush(stdout);
    return 0;
}

// The exit's question is answered No: the font stays unsaved for the next run.
class NoPrompt : public Prompt
{
public:
    void inform(const QString& text) override { std::printf("message: %s\n", qPrintable(text)); }
    bool ask(const QString&, const QString&, const QString&, bool) override { return false; }
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 2 && qstrcmp(argv[1], OneStart) == 0)
        return oneStart(argc, argv, QByteArray(argv[2]).toLongLong());

    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const int runs = argc > 1 ? std::max(11, QString::fromLocal8Bit(argv[1]).toInt()) : 51;
    QDir::setCurrent(home.path());

    // A running server with a Western font, as a user has it open.
    DBusAutomationHost host;
    const AutomationPtr server = host.createObject(QStringLiteral("TTEdit.Application"));
    if (!server ||
        !server->call(QStringLiteral("NewFile"), {QVariant::fromValue(qint16(1)), true})) {
        std::printf("no font server: nothing measured\n");
        return 0;
    }
    NoPrompt prompt;
    const QString ini = home.filePath(QStringLiteral("ptl_settings.ini"));
    // A table with glyphs, and both stores as an earlier exit left them.
    QImage glyphs = CharTable::blank();
    CharTable::fillRect(glyphs, QRect(32, 64, 12, 20), CharTable::SetColour);
    QDir().mkpath(ProgramFiles::tableFolder());
    TableFile::write(glyphs, ProgramFiles::tableFileName(QStringLiteral("ptl_buf.bmp"),
                                                         ProgramFiles::tableFolder()));
    {
        Form1 f(&prompt);
        f.iniFileName = ini;
        f.SaveSettings();
    }
    std::printf("%d runs, font server running with a Western font\n", runs);

    std::map<std::string, std::vector<double>> steps;
    std::vector<double> ended;
    for (int i = 0; i < runs; ++i) {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const qint64 started = monotonicNs();
        p.start(QCoreApplication::applicationFilePath(),
                {QLatin1String(OneStart), QString::number(started)});
        p.waitForFinished(30000);
        ended.push_back(double(monotonicNs() - started) / 1000.0);
        for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
            const qsizetype blank = line.lastIndexOf(' ');
            if (blank > 0)
                steps[line.left(blank).toStdString()].push_back(line.mid(blank + 1).toDouble());
        }
    }
    std::printf("a new process each run, times since its start:\n");
    for (const auto& [name, times] : steps)
        BenchFigures::of(times).print(name.c_str());
    BenchFigures::of(ended).print("9 process ended");

    std::vector<double> activate, setup, settings, table, exits;
    for (int i = 0; i < runs; ++i) {
        auto f = std::make_unique<Form1>(&prompt);
        f->iniFileName = ini;
        f->Form_Load();
        f->show();
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        f->Form_Activate();
        activate.push_back(double(timer.nsecsElapsed()) / 1000.0);
        timer.restart();
        f->SetupTTEdit(true);
        setup.push_back(double(timer.nsecsElapsed()) / 1000.0);
        timer.restart();
        f->SaveSettings();
        settings.push_back(double(timer.nsecsElapsed()) / 1000.0);
        timer.restart();
        f->CommandSave_Click();
        table.push_back(double(timer.nsecsElapsed()) / 1000.0);
        f->bAskSave = true;
        timer.restart();
        f->close();
        exits.push_back(double(timer.nsecsElapsed()) / 1000.0);
    }
    std::printf("the parts, in one process:\n");
    BenchFigures::of(activate).print("first activation");
    BenchFigures::of(setup).print("  SetupTTEdit(True) alone");
    BenchFigures::of(exits).print("exit, the font's question answered No");
    BenchFigures::of(settings).print("  SaveSettings alone");
    BenchFigures::of(table).print("  the table file's save alone");

    SingleCopy first;
    if (!first.claim()) {
        std::printf("another copy runs for this home: second copy not measured\n");
        return 0;
    }
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/pointillo");
    BenchFigures::measure(std::min(runs, 21), [&] {
        QProcess p;
        p.start(program, {});
        p.waitForFinished(10000);
        QCoreApplication::processEvents();
    }).print("a second copy, started to ended");
    return 0;
}
