// Where the editor's own files go: the rule, and the real program in folders a user has.

#include "app/ProgramFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <filesystem>
#include <unistd.h>

namespace {

// Run as a child with this argument, the program prints the two names and ends.
const char* printArgument = "--print-files";

int printFiles(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const ProgramFiles::Folders folders = ProgramFiles::probe();
    QTextStream(stdout) << ProgramFiles::dotsFileName(folders) << '\n'
                        << ProgramFiles::iniFileName(folders) << '\n';
    return 0;
}

} // namespace

class TestProgramFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void chosen_data();
    void chosen();
    void probed_data();
    void probed();

private:
    QTemporaryDir m_dir;
};

void TestProgramFiles::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath("runtime"));
    QVERIFY(QFile::setPermissions(m_dir.filePath("runtime"),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QVERIFY(QDir(m_dir.path()).mkpath("cwd"));
}

void TestProgramFiles::cleanupTestCase()
{
    // QTemporaryDir cannot name the non-UTF-8 folder to remove it.
    std::filesystem::remove_all(QFile::encodeName(m_dir.path()).constData());
}

void TestProgramFiles::chosen_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("runtime");
    QTest::addColumn<QString>("cache");
    QTest::addColumn<QString>("dots");
    QTest::addColumn<QString>("ini");

    const QString run = "/run/user/1000";
    const QString cache = "/home/u/.cache";
    QTest::newRow("writable") << "/opt/p" << true << run << cache << "/opt/p/ptl_dots.bmp"
                              << "/opt/p/ptl_settings.ini";
    QTest::newRow("read-only") << "/usr/bin" << false << run << cache
                               << "/run/user/1000/pointillo/ptl_dots.bmp"
                               << "/usr/bin/ptl_settings.ini";
    QTest::newRow("unnamed") << "" << false << run << cache
                             << "/run/user/1000/pointillo/ptl_dots.bmp"
                             << "";
    QTest::newRow("read-only, no runtime")
        << "/usr/bin" << false << "" << cache << "/home/u/.cache/pointillo/ptl_dots.bmp"
        << "/usr/bin/ptl_settings.ini";
    QTest::newRow("unnamed, no runtime")
        << "" << false << "" << cache << "/home/u/.cache/pointillo/ptl_dots.bmp"
        << "";
    // Nowhere to go: the export names the file it cannot write, never a relative one.
    QTest::newRow("read-only, no user folders") << "/usr/bin" << false << ""
                                                << ""
                                                << "/usr/bin/ptl_dots.bmp"
                                                << "/usr/bin/ptl_settings.ini";
    QTest::newRow("unnamed, no user folders") << "" << false << ""
                                              << ""
                                              << ""
                                              << "";
}

void TestProgramFiles::chosen()
{
    QFETCH(QString, program);
    QFETCH(bool, writable);
    QFETCH(QString, runtime);
    QFETCH(QString, cache);
    const ProgramFiles::Folders folders{program, writable, runtime, cache};
    QTEST(ProgramFiles::dotsFileName(folders), "dots");
    QTEST(ProgramFiles::iniFileName(folders), "ini");
}

void TestProgramFiles::probed_data()
{
    QTest::addColumn<QByteArray>("folder"); // native bytes
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("beside");
    QTest::addColumn<bool>("ini");

    QTest::newRow("writable folder") << QByteArray("plain") << false << true << true;
    // Latin-1 "café": not valid UTF-8, so Qt has no name for it.
    QTest::newRow("non-UTF-8 folder") << QByteArray("caf\xe9") << false << false << false;
    QTest::newRow("read-only folder") << QByteArray("readonly") << true << false << true;
}

void TestProgramFiles::probed()
{
    QFETCH(QByteArray, folder);
    QFETCH(bool, readOnly);
    QFETCH(bool, beside);
    QFETCH(bool, ini);
    if (readOnly && geteuid() == 0)
        QSKIP("root writes into read-only folders");

    // The program's folder is where the running file is: a copy or a hard link of this test.
    // It starts through a symbolic link with a name Qt can pass on.
    namespace fs = std::filesystem;
    const fs::path self(QFile::encodeName(QCoreApplication::applicationFilePath()).constData());
    const fs::path base(QFile::encodeName(m_dir.path()).constData());
    const fs::path dir = base / folder.constData();
    const fs::path program = dir / "tst_programfiles";
    fs::create_directories(dir);
    std::error_code error;
    fs::create_hard_link(self, program, error);
    if (error)
        QVERIFY(fs::copy_file(self, program));
    if (readOnly)
        fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    const fs::path start = base / "start";
    fs::remove(start);
    fs::create_symlink(program, start);

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", m_dir.filePath("runtime"));
    child.setProcessEnvironment(env);
    child.setWorkingDirectory(m_dir.filePath("cwd"));
    child.start(QFile::decodeName(start.c_str()), {printArgument});
    const bool finished = child.waitForFinished(30000);
    if (readOnly)
        fs::permissions(dir, fs::perms::owner_all);
    QVERIFY(finished);
    QCOMPARE(child.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split('\n');
    QCOMPARE(lines.size(), 3);

    const QString besideProgram = QFileInfo(QFile::decodeName(program.c_str())).path();
    // Never a name relative to the current folder.
    QCOMPARE(lines[0], beside ? besideProgram + "/ptl_dots.bmp"
                              : m_dir.filePath("runtime/pointillo/ptl_dots.bmp"));
    QCOMPARE(lines[1], ini ? besideProgram + "/ptl_settings.ini" : QString());
}

int main(int argc, char** argv)
{
    if (argc == 2 && qstrcmp(argv[1], printArgument) == 0)
        return printFiles(argc, argv);
    QCoreApplication app(argc, argv);
    TestProgramFiles test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_programfiles.moc"
