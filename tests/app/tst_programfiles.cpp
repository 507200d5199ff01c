// Where the editor's own files go: the rule, and the real program in a folder Qt cannot name.

#include "app/ProgramFiles.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <filesystem>

class TestProgramFiles : public QObject
{
    Q_OBJECT

private slots:
    void chosen_data();
    void chosen();
    void tableFile();
    void nonUtf8Folder();
};

void TestProgramFiles::chosen_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("runtime");
    QTest::addColumn<QString>("dots");
    QTest::addColumn<QString>("ini");

    const QString run = "/run/user/7";
    const QString cache = "/home/u/.cache/pointillo/ptl_dots.bmp";
    QTest::newRow("writable") << "/opt/p" << true << run << "/opt/p/ptl_dots.bmp"
                              << "/opt/p/ptl_settings.ini";
    QTest::newRow("read-only") << "/usr/bin" << false << run << run + "/pointillo/ptl_dots.bmp"
                               << "/usr/bin/ptl_settings.ini";
    QTest::newRow("unnamed") << "" << false << run << run + "/pointillo/ptl_dots.bmp"
                             << "";
    QTest::newRow("read-only, no runtime")
        << "/usr/bin" << false << "" << cache << "/usr/bin/ptl_settings.ini";
    QTest::newRow("unnamed, no runtime") << "" << false << "" << cache << "";
}

void TestProgramFiles::chosen()
{
    QFETCH(QString, program);
    QFETCH(bool, writable);
    QFETCH(QString, runtime);
    const ProgramFiles::Folders folders{program, writable, runtime, "/home/u/.cache"};
    QTEST(ProgramFiles::dotsFileName(folders), "dots");
    QTEST(ProgramFiles::iniFileName(folders), "ini");
    // Nowhere else to go: the export names the file it cannot write, never a relative one.
    QCOMPARE(ProgramFiles::dotsFileName({program, false, "", ""}),
             program.isEmpty() ? QString() : program + "/ptl_dots.bmp");
}

void TestProgramFiles::tableFile()
{
    // A relative name is in the user's table folder, an absolute one as it is.  (A table in the
    // current folder at start: tst_form1table.)
    QCOMPARE(ProgramFiles::tableFileName("a/../t.bmp", "/home/u/.local/share/pointillo"),
             "/home/u/.local/share/pointillo/t.bmp");
    QCOMPARE(ProgramFiles::tableFileName("/srv/t.bmp", "/home/u/.local/share/pointillo"),
             "/srv/t.bmp");
    qputenv("XDG_DATA_HOME", "/srv/data");
    QCOMPARE(ProgramFiles::tableFolder(), "/srv/data/pointillo");
    qunsetenv("XDG_DATA_HOME");
}

void TestProgramFiles::nonUtf8Folder()
{
    // A copy of this test in a folder named "café" in Latin-1, run through a link with a
    // name Qt can pass on: Qt has no name for the program's folder.
    namespace fs = std::filesystem;
    QTemporaryDir temp;
    const fs::path base(QFile::encodeName(temp.path()).constData());
    const fs::path program = base / "caf\xe9" / "tst_programfiles";
    fs::create_directory(program.parent_path());
    fs::copy_file(QFile::encodeName(QCoreApplication::applicationFilePath()).constData(), program);
    fs::create_symlink(program, base / "start");
    fs::create_directory(base / "cwd");

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", temp.path());
    child.setProcessEnvironment(env);
    child.setWorkingDirectory(temp.filePath("cwd"));
    child.start(temp.filePath("start"), {"--print-files"});
    QVERIFY(child.waitForFinished(30000));
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    fs::remove_all(base); // QTemporaryDir cannot name the folder to remove it
    // Not "ptl_dots.bmp" in the current folder; no settings file where none can be named.
    QCOMPARE(out, temp.filePath("pointillo/ptl_dots.bmp") + "\n\n");
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (app.arguments().value(1) == "--print-files") {
        const ProgramFiles::Folders folders = ProgramFiles::probe();
        QTextStream(stdout) << ProgramFiles::dotsFileName(folders) << '\n'
                            << ProgramFiles::iniFileName(folders) << '\n';
        return 0;
    }
    TestProgramFiles test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_programfiles.moc"
