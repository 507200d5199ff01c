// The command line and the display check of pointillo-fontd, which decide before any Qt
// application exists whether the server may open a window.

#include "fontd/LaunchOptions.h"

#include <QTest>

class TestFontdLaunch : public QObject
{
    Q_OBJECT

private slots:
    void arguments_data();
    void arguments();
    void display_data();
    void display();
    void platformWithFallback_data();
    void platformWithFallback();
    void buildArguments_data();
    void buildArguments();
};

void TestFontdLaunch::arguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("headless");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("error");
    QTest::addColumn<bool>("help");

    QTest::newRow("nothing") << QStringList{} << false << QString() << false << false;
    QTest::newRow("headless") << QStringList{"--headless"} << true << QString() << false << false;
    QTest::newRow("file") << QStringList{"a.ttf"} << false << "a.ttf" << false << false;
    QTest::newRow("headless and file")
        << QStringList{"--headless", "a.ttf"} << true << "a.ttf" << false << false;
    QTest::newRow("file before option")
        << QStringList{"a.ttf", "--headless"} << true << "a.ttf" << false << false;
    QTest::newRow("file named like an option after --")
        << QStringList{"--", "--headless"} << false << "--headless" << false << false;
    QTest::newRow("a lone dash is a file") << QStringList{"-"} << false << "-" << false << false;
    QTest::newRow("help") << QStringList{"--help"} << false << QString() << false << true;
    QTest::newRow("short help") << QStringList{"-h"} << false << QString() << false << true;
    QTest::newRow("unknown option")
        << QStringList{"--window"} << false << QString() << true << false;
    QTest::newRow("two files") << QStringList{"a.ttf", "b.ttf"} << false << "a.ttf" << true
                               << false;
    QTest::newRow("file with spaces and Japanese")
        << QStringList{QStringLiteral("和文 フォント.ttf")} << false
        << QStringLiteral("和文 フォント.ttf") << false << false;
}

void TestFontdLaunch::arguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, headless);
    QFETCH(QString, fileName);
    QFETCH(bool, error);
    QFETCH(bool, help);
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":0"));
    const LaunchOptions options = LaunchOptions::parse(
        QStringList{QStringLiteral("pointillo-fontd")} + arguments, environment);
    QCOMPARE(options.headless, headless);
    QCOMPARE(options.fileName, fileName);
    QCOMPARE(!options.error.isEmpty(), error);
    QCOMPARE(options.help, help);
}

void TestFontdLaunch::display_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<bool>("available");

    QTest::newRow("X11") << QString() << ":0" << QString() << true;
    QTest::newRow("Wayland") << QString() << QString() << "wayland-0" << true;
    QTest::newRow("nothing") << QString() << QString() << QString() << false;
    QTest::newRow("offscreen with a display") << "offscreen"
                                              << ":0" << QString() << false;
    QTest::newRow("minimal with a display") << "minimal"
                                            << ":0"
                                            << "wayland-0" << false;
    QTest::newRow("offscreen with options") << "offscreen:fontconfig"
                                            << ":0" << QString() << false;
    QTest::newRow("xcb without DISPLAY") << "xcb" << QString() << "wayland-0" << false;
    QTest::newRow("xcb with DISPLAY") << "xcb"
                                      << ":1" << QString() << true;
    QTest::newRow("wayland without socket") << "wayland"
                                            << ":0" << QString() << false;
    QTest::newRow("wayland-egl with socket") << "wayland-egl" << QString() << "wayland-1" << true;
    QTest::newRow("fallback list, first decides") << "offscreen;xcb"
                                                  << ":0" << QString() << false;
    QTest::newRow("vnc brings its own screen") << "vnc" << QString() << QString() << true;
}

void TestFontdLaunch::display()
{
    QFETCH(QString, platform);
    QFETCH(QString, display);
    QFETCH(QString, wayland);
    QFETCH(bool, available);
    QProcessEnvironment environment;
    if (!platform.isNull())
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    if (!display.isNull())
        environment.insert(QStringLiteral("DISPLAY"), display);
    if (!wayland.isNull())
        environment.insert(QStringLiteral("WAYLAND_DISPLAY"), wayland);
    QCOMPARE(LaunchOptions::displayAvailable(environment), available);
    // No display forces headless whatever the arguments say.
    const LaunchOptions options =
        LaunchOptions::parse({QStringLiteral("pointillo-fontd")}, environment);
    QCOMPARE(options.headless, !available);
}

void TestFontdLaunch::platformWithFallback_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("wayland");
    QTest::addColumn<QString>("expected");
    QTest::newRow("default on X11") << QString() << QString() << "xcb;offscreen";
    QTest::newRow("default on Wayland") << QString() << "wayland-0"
                                        << "wayland;xcb;offscreen";
    QTest::newRow("chosen xcb") << "xcb" << QString() << "xcb;offscreen";
    QTest::newRow("chosen with options") << "xcb:nograb" << QString() << "xcb:nograb;offscreen";
    QTest::newRow("list already ending in offscreen") << "wayland;offscreen"
                                                      << "w"
                                                      << "wayland;offscreen";
    QTest::newRow("offscreen with options kept")
        << "vnc;offscreen:x=1" << QString() << "vnc;offscreen:x=1";
}

void TestFontdLaunch::platformWithFallback()
{
    QFETCH(QString, platform);
    QFETCH(QString, wayland);
    QFETCH(QString, expected);
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":0"));
    if (!platform.isNull())
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    if (!wayland.isNull())
        environment.insert(QStringLiteral("WAYLAND_DISPLAY"), wayland);
    QCOMPARE(LaunchOptions::platformWithFallback(environment), expected);
}

void TestFontdLaunch::buildArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected"); // the settings read, or a part of the error

    const QStringList base{"--build", "t.bmp", "--dots", "12x20", "-o", "f.ttf"};
    QTest::newRow("the least") << base << "t.bmp f.ttf 12x20 100% - - western -";
    QTest::newRow("every option, = forms, halves to even")
        << QStringList{"--build=t.bmp", "--dots",   "3X32",    "--size",     "1",
                       "--square",      "--lsb",    "-12.5",   "--rsb=13.5", "--kind",
                       "JAPANESE",      "--family", "My Font", "--output",   "f.woff2"}
        << "t.bmp f.woff2 3x32 1% square -12/14 japanese My Font";
    const auto row = [&](const char* name, const QStringList& extra, const char* error) {
        QTest::newRow(name) << base + extra << error;
    };
    row("2 dots", {"--dots", "2x20"}, "3 to 32 dots");
    row("33 dots", {"--dots", "12x33"}, "3 to 32 dots");
    row("not WxH", {"--dots", "12*20"}, "--dots takes WIDTHxHEIGHT");
    row("size 0", {"--size", "0"}, "1 to 100 percent");
    row("size 101", {"--size", "101"}, "1 to 100 percent");
    row("size with a fraction", {"--size", "50.5"}, "whole percentage");
    row("bearing beyond 16 bits", {"--lsb", "32768", "--rsb", "0"}, "-32768 to 32767");
    row("bearing not a number", {"--lsb", "ten", "--rsb", "0"}, "-32768 to 32767");
    row("one bearing alone", {"--lsb", "5"}, "--lsb and --rsb go together");
    row("unknown kind", {"--kind", "greek"}, "western or japanese");
    row("empty family", {"--family", " "}, "--family needs a name");
    row("a font file too", {"a.ttf"}, "opens no font file");
    row("value missing at the end", {"--size"}, "--size needs a value");
    QTest::newRow("no dots") << QStringList{"--build", "t.bmp", "-o", "f.ttf"}
                             << "--build needs --dots";
    QTest::newRow("fonts alone, no dots")
        << QStringList{"--build", "k.bdf", "--build=h.pcf.gz", "-o", "f.ttf"}
        << "k.bdf,h.pcf.gz f.ttf 12x20 100% - - western -";
    QTest::newRow("a table among fonts, no dots")
        << QStringList{"--build", "k.bdf", "--build", "t.BMP", "-o", "f.ttf"}
        << "--build needs --dots";
    QTest::newRow("no output") << QStringList{"--build", "t.bmp", "--dots", "12x20"}
                               << "--build needs -o";
    QTest::newRow("build options alone")
        << QStringList{"--dots", "12x20", "--square"} << "go with --build";
}

void TestFontdLaunch::buildArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    const LaunchOptions o =
        LaunchOptions::parse(QStringList{QStringLiteral("pointillo-fontd")} + arguments, {});
    if (!o.error.isEmpty()) {
        QVERIFY2(o.error.contains(expected), qPrintable(o.error));
        return;
    }
    const TableBuild::Settings& b = o.build.settings;
    const QString read = QStringLiteral("%1 %2 %3x%4 %5% %6 %7 %8 %9")
                             .arg(o.build.sources.join(u','), o.build.output)
                             .arg(b.dotsX)
                             .arg(b.dotsY)
                             .arg(b.sizePercent)
                             .arg(b.square ? QStringLiteral("square") : QStringLiteral("-"),
                                  b.sideBearings ? QStringLiteral("%1/%2").arg(b.lsb).arg(b.rsb)
                                                 : QStringLiteral("-"),
                                  b.kind == FontDocument::Japanese ? QStringLiteral("japanese")
                                                                   : QStringLiteral("western"),
                                  b.family.isEmpty() ? QStringLiteral("-") : b.family);
    QCOMPARE(read, expected);
}

QTEST_APPLESS_MAIN(TestFontdLaunch)
#include "tst_fontd_launch.moc"
