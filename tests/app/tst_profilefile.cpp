// The settings file: where a value goes and what stays as it was, and the files it leaves
// alone.

#include "app/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray bytesOf(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void put(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestProfileFile : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void written_data();
    void written();
    void leftAlone_data();
    void leftAlone();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
};

void TestProfileFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_file = m_dir->filePath(QStringLiteral("ptl_settings.ini"));
}

void TestProfileFile::written_data()
{
    QTest::addColumn<QByteArray>("before"); // "(missing)": no file
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("readBack");

    const QString n = QStringLiteral(" 12");
    QTest::newRow("new file") << QByteArray("(missing)") << n << QByteArray("[POINTILLO]\nX= 12\n")
                              << "12";
    QTest::newRow("empty file") << QByteArray() << n << QByteArray("[POINTILLO]\nX= 12\n") << "12";
    QTest::newRow("new section, no final break")
        << QByteArray("[Other]\nX=1") << n << QByteArray("[Other]\nX=1\n[POINTILLO]\nX= 12\n")
        << "12";
    QTest::newRow("line replaced, names in other case, CR LF kept")
        << QByteArray("; mine\r\n[pointillo]\r\nx=5\r\nY=6\r\n") << n
        << QByteArray("; mine\r\n[pointillo]\r\nX= 12\r\nY=6\r\n") << "12";
    QTest::newRow("added at the end of its section")
        << QByteArray("[POINTILLO]\nY=1\n; last\n\n[Other]\nX=3\n") << n
        << QByteArray("[POINTILLO]\nY=1\n; last\nX= 12\n\n[Other]\nX=3\n") << "12";
    QTest::newRow("first of two sections")
        << QByteArray("[POINTILLO]\nY=1\n[POINTILLO]\nX=2\n") << n
        << QByteArray("[POINTILLO]\nY=1\nX= 12\n[POINTILLO]\nX=2\n") << "12";
    QTest::newRow("blanks around names and value")
        << QByteArray(" \t[ POINTILLO ] \n  X \t=  5  \nZ\n") << n
        << QByteArray(" \t[ POINTILLO ] \nX= 12\nZ\n") << "12";
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF[POINTILLO]\nX=5\n") << n
                                     << QByteArray("\xEF\xBB\xBF[POINTILLO]\nX= 12\n") << "12";
    QTest::newRow("a comment is no key") << QByteArray("[POINTILLO]\n;X=5\n") << n
                                         << QByteArray("[POINTILLO]\n;X=5\nX= 12\n") << "12";
    QTest::newRow("a value stays one line")
        << QByteArray("[POINTILLO]\n") << "a\r\nb" << QByteArray("[POINTILLO]\nX=a  b\n") << "a  b";
    QTest::newRow("empty value") << QByteArray("[POINTILLO]\nX=5\n") << QString()
                                 << QByteArray("[POINTILLO]\nX=\n") << "";
}

void TestProfileFile::written()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, value);
    if (before != "(missing)")
        put(m_file, before);
    ProfileFile file(m_file);
    file.setValue(u"POINTILLO", u"X", value);
    QVERIFY(file.save());
    QTEST(bytesOf(m_file), "after");
    QTEST(ProfileFile(m_file).value(u"Pointillo", u"x", QStringLiteral("*")), "readBack");
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"ptl_settings.ini"});
}

void TestProfileFile::leftAlone_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("no name") << "no name";
    QTest::newRow("no such folder") << "no such folder";
    QTest::newRow("a folder of that name") << "folder";
    QTest::newRow("larger than a settings file can be") << "large";
    QTest::newRow("read-only") << "read-only";
}

void TestProfileFile::leftAlone()
{
    // Nothing is read from these, and a save writes nothing and says so.
    QFETCH(QString, kind);
    QString name = m_file;
    QByteArray before = "[POINTILLO]\nX=5\n";
    if (kind == "no name") {
        name.clear();
    } else if (kind == "no such folder") {
        name = m_dir->filePath(QStringLiteral("none/ptl_settings.ini"));
    } else if (kind == "folder") {
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("ptl_settings.ini")));
    } else if (kind == "large") {
        before += QByteArray(ProfileFile::MaxFileSize, ';');
        put(name, before);
    } else {
        put(name, before);
        QVERIFY(QFile::setPermissions(name, QFile::ReadOwner | QFile::ReadUser));
        if (QFileInfo(name).isWritable())
            QSKIP("this user writes read-only files");
    }
    ProfileFile file(name);
    if (kind != "read-only")
        QCOMPARE(file.value(u"POINTILLO", u"X", QStringLiteral("*")), QStringLiteral("*"));
    file.setValue(u"POINTILLO", u"X", QStringLiteral(" 12"));
    QVERIFY(!file.save());
    if (kind == "large" || kind == "read-only")
        QCOMPARE(bytesOf(name), before);
    QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("none"))));
}

QTEST_GUILESS_MAIN(TestProfileFile)
#include "tst_profilefile.moc"
