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
    void tableFile_data();
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

void TestProgramFiles::tableFile_data()
{
    // USER is the user's table folder, CWD the current folder; a file of the name typed is in
    // either of them or not.
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("inCurrent");
    QTest::addColumn<bool>("inUser");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("loaded");
    QTest::newRow("the default") << "ptl_buf.bmp" << false << false << "USER/ptl_buf.bmp"
                                 << "USER/ptl_buf.bmp";
    QTest::newRow("an older start's table in the current folder")
        << "ptl_buf.bmp" << true << false << "USER/ptl_buf.bmp"
        << "CWD/ptl_buf.bmp";
    QTest::newRow("the user's table first") << "ptl_buf.bmp" << true << true << "USER/ptl_buf.bmp"
                                            << "USER/ptl_buf.bmp";
    QTest::newRow("a relative folder") << "a/../b/t.bmp" << false << false << "USER/b/t.bmp"
                                       << "USER/b/t.bmp";
    QTest::newRow("an absolute name") << "CWD/t.bmp" << true << false << "CWD/t.bmp"
                                      << "CWD/t.bmp";
    QTest::newRow("no name") << "" << false << false << ""
                             << "";
}

void TestProgramFiles::tableFile()
{
    QFETCH(QString, typed);
    QFETCH(bool, inCurrent);
    QFETCH(bool, inUser);
    QTemporaryDir temp;
    const QString user = temp.filePath("user");
    const QString cwd = temp.filePath("cwd");
    const auto folders = [&](QString name) {
        return name.replace("USER", user).replace("CWD", cwd);
    };
    typed = folders(typed);
    for (const QString& folder : {user, cwd})
        QDir().mkpath(folder + "/b");
    QDir::setCurrent(cwd);
    if (inCurrent)
        QVERIFY(QFile(QDir(cwd).filePath(typed)).open(QIODevice::WriteOnly));
    if (inUser)
        QVERIFY(QFile(QDir(user).filePath(typed)).open(QIODevice::WriteOnly));
    QFETCH(QString, saved);
    QFETCH(QString, loaded);
    QCOMPARE(ProgramFiles::tableFileName(typed, user), folders(saved));
    QCOMPARE(ProgramFiles::startTableFile(typed, user), folders(loaded));
    // Without a folder of the user's the name is the current folder's, as typed.
    QCOMPARE(ProgramFiles::tableFileName(typed, QString()), typed);
    qputenv("XDG_DATA_HOME", QFile::encodeName(user));
    QCOMPARE(ProgramFiles::tableFolder(), user + "/pointillo");
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
