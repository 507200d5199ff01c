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

QTEST_APPLESS_MAIN(TestFontdLaunch)
#include "tst_fontd_launch.moc"
