// Prints the cost of the editor's font server operations end to end, against the real
// pointillo-fontd: one Next step (SetupTTEdit, viewnextcode, getcode, the redraw and the code
// box's own check) and one glyph export at 32 x 32 dots (render, ptl_dots.bmp, SetupTTEdit,
// the glyph calls, the import in the server, the redraw), with the D-Bus round trips counted
// and the parts timed on their own.
//
//   dbus-run-session -- <build>/bin/bench_ttedit_window [runs]
//
// The server is activated or started from the program's folder as the editor does it.  Runs
// headless on the offscreen platform unless a platform is chosen.

#include "BenchFigures.h"
#include "app/Form1.h"
#include "app/Prompt.h"
#include "chartable/CharTable.h"
#include "editor/DotCanvas.h"
#include "ttedit/DBusAutomationHost.h"
#include "ttedit/DotsBitmap.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QSlider>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// Every question is answered Yes: a font is created when none is open.
class YesPrompt : public Prompt
{
public:
    void inform(const QString& text) override { std::printf("message: %s\n", qPrintable(text)); }
    bool ask(const QString&, const QString&, const QString&, bool) override { return true; }
};

// Counts the waits for the bus (a call, a sequence of calls sent together, a look-up of the
// server, the first answer taken after calls sent without waiting) and the member calls
// themselves.
struct Counts
{
    long waits = 0;
    long calls = 0;
    bool unanswered = false; // calls were sent since the last wait
    void wait()
    {
        ++waits;
        unanswered = false;
    }
};

class CountingReply : public AutomationReply
{
public:
    CountingReply(AutomationReplyPtr inner, Counts* counts)
        : m_inner(std::move(inner))
        , m_counts(counts)
    {}
    std::optional<QVariant> result() override
    {
        if (m_counts->unanswered)
            m_counts->wait();
        return m_inner->result();
    }
    bool answered() const override { return m_inner->answered(); }
    QString error() const override { return m_inner->error(); }

private:
    AutomationReplyPtr m_inner;
    Counts* m_counts;
};

class CountingObject : public AutomationObject
{
public:
    CountingObject(AutomationPtr inner, Counts* counts)
        : m_inner(std::move(inner))
        , m_counts(counts)
    {}

    std::optional<QVariant> call(const QString& member, const QVariantList& args) override
    {
        m_counts->wait();
        ++m_counts->calls;
        return wrap(m_inner->call(member, args));
    }

    QList<std::optional<QVariant>> callAll(const QList<AutomationCall>& calls) override
    {
        m_counts->wait();
        m_counts->calls += calls.size();
        QList<std::optional<QVariant>> results = m_inner->callAll(calls);
        for (std::optional<QVariant>& r : results)
            r = wrap(r);
        return results;
    }

    void post(const QString& member, const QVariantList& args) override
    {
        ++m_counts->calls;
        m_inner->post(member, args);
    }

    AutomationReplyPtr send(const QString& member, const QVariantList& args) override
    {
        ++m_counts->calls;
        m_counts->unanswered = true;
        return std::make_shared<CountingReply>(m_inner->send(member, args), m_counts);
    }

    QString lastError() const override { return m_inner->lastError(); }

private:
    std::optional<QVariant> wrap(const std::optional<QVariant>& result)
    {
        if (result && result->canConvert<AutomationPtr>()) {
            if (const AutomationPtr object = result->value<AutomationPtr>())
                return QVariant::fromValue(
                    AutomationPtr(std::make_shared<CountingObject>(object, m_counts)));
        }
        return result;
    }

    AutomationPtr m_inner;
    Counts* m_counts;
};

class CountingHost : public AutomationHost
{
public:
    AutomationPtr getObject(const QString& progId) override
    {
        counts.wait();
        return wrap(m_host.getObject(progId));
    }
    AutomationPtr createObject(const QString& progId) override
    {
        counts.wait();
        return wrap(m_host.createObject(progId));
    }
    AutomationPtr attach(const QString& progId, const QList<AutomationCall>& calls,
                         QList<std::optional<QVariant>>* answers) override
    {
        counts.wait();
        counts.calls += calls.size();
        const AutomationPtr object = wrap(m_host.attach(progId, calls, answers));
        for (std::optional<QVariant>& a : *answers)
            if (a && a->canConvert<AutomationPtr>())
                if (const AutomationPtr inner = a->value<AutomationPtr>())
                    a = QVariant::fromValue(
                        AutomationPtr(std::make_shared<CountingObject>(inner, &counts)));
        return object;
    }

    Counts counts;

private:
    AutomationPtr wrap(AutomationPtr object)
    {
        return object ? std::make_shared<CountingObject>(object, &counts) : object;
    }
    DBusAutomationHost m_host;
};

// Measures work and counts the waits for the bus and the calls it makes per run.
void bench(const char* what, int runs, CountingHost& host, const std::function<void(int)>& work)
{
    const Counts before = host.counts;
    const BenchFigures f = BenchFigures::measure(runs, work);
    char counts[64];
    std::snprintf(counts, sizeof counts, "  %4.1f waits %4.1f calls",
                  double(host.counts.waits - before.waits) / runs,
                  double(host.counts.calls - before.calls) / runs);
    f.print(what, "us", counts);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(11, QString::fromLocal8Bit(argv[1]).toInt()) : 1001;

    QTemporaryDir dir;
    YesPrompt prompt;
    CountingHost host;
    Form1 f(&prompt, &host);
    f.dotsFileName = dir.filePath(QStringLiteral("ptl_dots.bmp"));
    f.show();
    QApplication::processEvents();

    // The first activation attaches (or starts the server and makes a Western font).
    f.Form_Activate();
    if (!f.ttDoc || f.fontKind == 0) {
        std::printf("no font server: nothing measured\n");
        return 0;
    }
    std::printf("font kind %d, %d runs each\n", f.fontKind, runs);

    f.SliderDotX->setValue(32);
    f.SliderDotY->setValue(32);
    f.CheckSquare->setChecked(true);
    f.SliderDotX_Scroll();

    // One step each way in turn, so that every step changes the code and the boxes.
    f.TextCode->setText(QStringLiteral("41"));
    bench("Next step end to end (Western font)", runs, host, [&](int i) {
        if (i % 2 == 0)
            f.CommandNext_Click();
        else
            f.CommandPrev_Click();
    });

    // The glyph of 0x41: half of its 32 x 32 dots set, at random.
    f.TextCode->setText(QStringLiteral("41"));
    QRandomGenerator random(11);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (random.bounded(2))
                CharTable::setPixel(f.store().pageForWrite(0), QPoint(f.bufX + x, f.bufY + y),
                                    CharTable::SetColour);
    f.drawGrid();
    bench("export end to end, 32 x 32 dots, 100 %", runs, host,
          [&](int) { f.CommandTTEdit_Click(); });
    f.SliderSize->setValue(50);
    bench("export end to end, 32 x 32 dots, 50 %", runs, host,
          [&](int) { f.CommandTTEdit_Click(); });
    f.CheckSB->setChecked(true);
    bench("export end to end, 50 %, side bearings", runs, host,
          [&](int) { f.CommandTTEdit_Click(); });
    f.CheckSB->setChecked(false);
    f.SliderSize->setValue(100);

    // A Japanese font: the character box's own handling joins every step.
    if (f.ttApp &&
        f.ttApp->call(QStringLiteral("NewFile"), {QVariant::fromValue(qint16(0)), true})) {
        f.SetupTTEdit(false);
        f.TextCode->setText(QStringLiteral("82A0"));
        bench("Next step end to end (Japanese font)", runs, host, [&](int i) {
            if (i % 2 == 0)
                f.CommandNext_Click();
            else
                f.CommandPrev_Click();
        });
    }

    std::printf("where the time goes:\n");
    const QString progId = QStringLiteral("TTEdit.Application");
    bench("  getObject (name owner on the bus)", runs, host, [&](int) { host.getObject(progId); });
    const QVariantList getcodeArgs{QVariant::fromValue(qint16(0)), false};
    bench("  getcode", runs, host,
          [&](int) { f.ttDoc->call(QStringLiteral("getcode"), getcodeArgs); });
    bench("  SetupTTEdit(False)", runs, host, [&](int) { f.SetupTTEdit(false); });
    bench("  SetupTTEdit(True)", runs, host, [&](int) { f.SetupTTEdit(true); });
    bench("  drawGrid, dots only, code unchanged", runs, host, [&](int) { f.drawGrid(); });
    bench("  drawGrid, full redraw", runs, host, [&](int) {
        f.bRedraw = true;
        f.drawGrid();
    });
    f.CommandTTEdit_Click();
    // The rendering the export left on the canvas.
    const QImage rendered = f.PictureDOT->image().copy();
    f.bRedraw = true;
    f.drawGrid();
    bench("  saveDotsBmp of the canvas", runs, host,
          [&](int) { DotsBitmap::saveDotsBmp(f.dotsFileName, rendered); });
    DotsBitmap::saveDotsBmp(f.dotsFileName, rendered);
    bench("  ImportBmpfile in the server", runs, host,
          [&](int) { f.ttDoc->call(QStringLiteral("ImportBmpfile"), {f.dotsFileName}); });
    return 0;
}
