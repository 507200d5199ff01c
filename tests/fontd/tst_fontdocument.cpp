#include "TestBmp.h"
#include "fontd/AtomicFile.h"
#include "fontd/ContourTracer.h"
#include "fontd/FontDocument.h"
#include "fontd/GlyphBuilder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QtEndian>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& data)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
        return {};
    return path;
}

} // namespace

class TestFontDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void newDocument_data();
    void newDocument();
    void acceptsCodes_data();
    void acceptsCodes();
    void refusedCodeKeepsCurrent();
    void stepping_data();
    void stepping();
    void selectAllDelete();
    void importBitmap();
    void importKeepsGlyphOnError_data();
    void importKeepsGlyphOnError();
    void importTooDetailed();
    void sideBearings_data();
    void sideBearings();
    void sideBearingsRefused_data();
    void sideBearingsRefused();
    void sideBearingsOnEmptyAndMissing();
    void glyphOfACodeTheFontLacks();
    void untitledSave_data();
    void untitledSave();
    void untitledSaveCreatesFolder();
    void saveAsAndSave();
    void failedSave();
    void saveErrorsSayWhy();
    void killDuringUntitledSave();
    void openRoundTrip();
    void openErrors_data();
    void openErrors();
    void familyFromFirstSaveAs_data();
    void familyFromFirstSaveAs();

private:
    QTemporaryDir m_home;
    QTemporaryDir m_files;
};

void TestFontDocument::initTestCase()
{
    // Untitled fonts go to the documents folder under HOME: keep them in a folder of ours.
    QVERIFY(m_home.isValid());
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral(".config"))));
    QVERIFY(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                .startsWith(m_home.path()));
}

void TestFontDocument::newDocument_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("codeCount");
    QTest::newRow("Western") << int(FontDocument::Western) << "Pointillo Western" << 224;
    QTest::newRow("Japanese") << int(FontDocument::Japanese) << "Pointillo Japanese" << 0;
}

void TestFontDocument::newDocument()
{
    QFETCH(int, kind);
    QFETCH(QString, family);
    QFETCH(int, codeCount);
    FontDocument doc{FontDocument::Kind(kind)};
    QCOMPARE(doc.currentCode(), 32);
    QVERIFY(doc.glyphs().empty());
    QVERIFY(doc.isSaved());
    QVERIFY(doc.fileName().isEmpty());
    QCOMPARE(doc.familyName(), family);
    QVERIFY(std::is_sorted(doc.codes().begin(), doc.codes().end()));
    if (codeCount)
        QCOMPARE(int(doc.codes().size()), codeCount);
    else
        QVERIFY(doc.codes().size() > 7000);
    QCOMPARE(doc.codes().front(), 32);
}

void TestFontDocument::acceptsCodes_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("held");
    const int w = FontDocument::Western, j = FontDocument::Japanese;
    QTest::newRow("W 32") << w << 32 << true;
    QTest::newRow("W 255") << w << 255 << true;
    QTest::newRow("W 127") << w << 127 << true;
    QTest::newRow("W 0x81 (undefined in 1252)") << w << 0x81 << true;
    QTest::newRow("W 31") << w << 31 << false;
    QTest::newRow("W 256") << w << 256 << false;
    QTest::newRow("W 0x82A0") << w << 0x82A0 << false;
    QTest::newRow("W -1") << w << -1 << false;
    QTest::newRow("J 0x82A0 hiragana a") << j << 0x82A0 << true;
    QTest::newRow("J 0x8140 ideographic space") << j << 0x8140 << true;
    QTest::newRow("J 0x20") << j << 0x20 << true;
    QTest::newRow("J 0xA1 half-width") << j << 0xA1 << true;
    QTest::newRow("J 0x81 lead byte alone") << j << 0x81 << false;
    QTest::newRow("J 0x80") << j << 0x80 << false;
    QTest::newRow("J 0x1F control") << j << 0x1F << false;
    QTest::newRow("J 0x8130 bad trail") << j << 0x8130 << false;
    QTest::newRow("J 0xFFFF") << j << 0xFFFF << false;
    QTest::newRow("J 0x10000") << j << 0x10000 << false;
}

void TestFontDocument::acceptsCodes()
{
    QFETCH(int, kind);
    QFETCH(int, code);
    QFETCH(bool, held);
    FontDocument doc{FontDocument::Kind(kind)};
    QCOMPARE(doc.holds(code), held);
    QCOMPARE(doc.setCurrentCode(code), held);
    QCOMPARE(doc.currentCode(), held ? code : 32);
}

void TestFontDocument::refusedCodeKeepsCurrent()
{
    FontDocument doc(FontDocument::Western);
    QVERIFY(doc.setCurrentCode(65));
    QVERIFY(!doc.setCurrentCode(0x82A0));
    QCOMPARE(doc.currentCode(), 65);
    QVERIFY(doc.isSaved());
}

void TestFontDocument::stepping_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("from");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<int>("to");
    const int w = FontDocument::Western, j = FontDocument::Japanese;
    QTest::newRow("W next") << w << 65 << true << 66;
    QTest::newRow("W previous") << w << 65 << false << 64;
    QTest::newRow("W last stays") << w << 255 << true << 255;
    QTest::newRow("W first stays") << w << 32 << false << 32;
    QTest::newRow("J over the gap to double bytes") << j << 0xDF << true << 0x8140;
    QTest::newRow("J back over the gap") << j << 0x8140 << false << 0xDF;
    QTest::newRow("J over undefined trail bytes") << j << 0x817E << true << 0x8180;
    QTest::newRow("J first stays") << j << 0x20 << false << 0x20;
}

void TestFontDocument::stepping()
{
    QFETCH(int, kind);
    QFETCH(int, from);
    QFETCH(bool, forward);
    QFETCH(int, to);
    FontDocument doc{FontDocument::Kind(kind)};
    QVERIFY(doc.setCurrentCode(from));
    const bool moved = forward ? doc.nextCode() : doc.previousCode();
    QCOMPARE(moved, from != to);
    QCOMPARE(doc.currentCode(), to);
}

void TestFontDocument::selectAllDelete()
{
    FontDocument doc(FontDocument::Western);
    doc.setCurrentCode(65);
    // Delete alone does nothing.
    doc.deleteSelection();
    QVERIFY(!doc.glyph(65));
    QVERIFY(doc.isSaved());
    // Select all, then Delete: an empty glyph.
    doc.selectAll();
    doc.deleteSelection();
    QVERIFY(doc.glyph(65));
    QVERIFY(doc.glyph(65)->contours.isEmpty());
    QVERIFY(!doc.isSaved());
    // Changing the code drops the selection.
    FontGlyph g;
    g.contours = {QPolygon({QPoint(0, 0), QPoint(0, 10), QPoint(10, 10), QPoint(10, 0)})};
    g.advanceWidth = 20;
    QVERIFY(doc.setGlyph(66, g));
    doc.selectAll();
    doc.setCurrentCode(66);
    doc.deleteSelection();
    QCOMPARE(doc.glyph(66)->contours.size(), 1);
    doc.selectAll();
    doc.deleteSelection();
    QVERIFY(doc.glyph(66)->contours.isEmpty());
    QCOMPARE(doc.glyph(66)->advanceWidth, 20);
}

void TestFontDocument::importBitmap()
{
    // Two boxes of 2 x 3 pixels side by side, and one pixel on row 400 (the baseline row).
    InkMask ink(10, 402);
    for (int y = 0; y < 3; ++y) {
        for (int x = 1; x < 5; ++x)
            ink.setPixel(x, y, true);
    }
    ink.setPixel(7, 400, true);
    const QString path = writeFile(m_files, QStringLiteral("a.bmp"), TestBmp::editorFormat(ink));
    FontDocument doc(FontDocument::Western);
    doc.setCurrentCode(65);
    QString error;
    QVERIFY2(doc.importBitmap(path, &error), qPrintable(error));
    QVERIFY(!doc.isSaved());
    const FontGlyph* g = doc.glyph(65);
    QVERIFY(g);
    QCOMPARE(g->advanceWidth, 20);
    QCOMPARE(g->leftSideBearing, 2);
    // Pixel corners map to (2x, 800 - 2y): the boxes merge into one rectangle, the single
    // pixel on row 400 sits just below the baseline.
    QCOMPARE(g->contours.size(), 2);
    QCOMPARE(g->contours[0],
             QPolygon({QPoint(2, 800), QPoint(10, 800), QPoint(10, 794), QPoint(2, 794)}));
    QCOMPARE(g->contours[1],
             QPolygon({QPoint(14, 0), QPoint(16, 0), QPoint(16, -2), QPoint(14, -2)}));
}

void TestFontDocument::importKeepsGlyphOnError_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("reason");
    const QByteArray good = TestBmp::editorFormat(InkMask::fromText({"##", "##"}));
    QTest::newRow("truncated") << good.left(good.size() - 3) << "truncated";
    QTest::newRow("not a BMP") << QByteArray("GIF89a....") << "not a BMP";
    QByteArray huge = good;
    qToLittleEndian<quint32>(100000, huge.data() + 18);
    qToLittleEndian<quint32>(100000, huge.data() + 22);
    QTest::newRow("100000 x 100000") << huge << "too large";
    QByteArray zero = good;
    qToLittleEndian<quint32>(0, zero.data() + 18);
    QTest::newRow("zero width") << zero << "width";
    QTest::newRow("missing file") << QByteArray() << "cannot open";
}

void TestFontDocument::importKeepsGlyphOnError()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, reason);
    const QString good = writeFile(m_files, QStringLiteral("good.bmp"),
                                   TestBmp::editorFormat(InkMask::fromText({"#.", ".#"})));
    const QString bad = data.isEmpty() ? m_files.filePath(QStringLiteral("none.bmp"))
                                       : writeFile(m_files, QStringLiteral("bad.bmp"), data);
    FontDocument doc(FontDocument::Western);
    QVERIFY(doc.importBitmap(good));
    QVERIFY(doc.saveAs(m_files.filePath(QStringLiteral("keep.ttf"))));
    const FontGlyph before = *doc.glyph(32);
    QString error;
    QVERIFY(!doc.importBitmap(bad, &error));
    QVERIFY2(error.contains(reason, Qt::CaseInsensitive), qPrintable(error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(bad)), qPrintable(error));
    QCOMPARE(doc.glyph(32)->contours, before.contours);
    QCOMPARE(doc.glyph(32)->advanceWidth, before.advanceWidth);
    QVERIFY(doc.isSaved());
}

void TestFontDocument::importTooDetailed()
{
    // A 482 x 482 checkerboard needs 464 648 points; a glyph holds 65 535.
    InkMask ink(482, 482);
    for (int y = 0; y < 482; ++y) {
        for (int x = y % 2; x < 482; x += 2)
            ink.setPixel(x, y, true);
    }
    const QString path =
        writeFile(m_files, QStringLiteral("chess.bmp"), TestBmp::editorFormat(ink));
    FontDocument doc(FontDocument::Western);
    QString error;
    QVERIFY(!doc.importBitmap(path, &error));
    QVERIFY2(error.contains(QStringLiteral("points")), qPrintable(error));
    QVERIFY(!doc.glyph(32));
    QVERIFY(doc.isSaved());

    // And 65 535 points: one contour of 70 000 steps.
    FontGlyph g;
    QPolygon stairs;
    for (int i = 0; i < 35000; ++i)
        stairs << QPoint(i % 30000, i / 30000) << QPoint(i % 30000 + 1, i / 30000);
    g.contours = {stairs};
    QVERIFY(!doc.setGlyph(65, g, &error));
    QVERIFY2(error.contains(QStringLiteral("points")), qPrintable(error));
    QVERIFY(!doc.glyph(65));
}

void TestFontDocument::sideBearings_data()
{
    QTest::addColumn<int>("lsb");
    QTest::addColumn<int>("rsb");
    QTest::newRow("0 0") << 0 << 0;
    QTest::newRow("10 20") << 10 << 20;
    QTest::newRow("negative left") << -30 << 40;
    QTest::newRow("negative right") << 50 << -10;
    QTest::newRow("wide") << 1000 << 3000;
}

void TestFontDocument::sideBearings()
{
    QFETCH(int, lsb);
    QFETCH(int, rsb);
    const InkMask ink = InkMask::fromText({"....", ".##.", ".#.."});
    const QString path = writeFile(m_files, QStringLiteral("sb.bmp"), TestBmp::editorFormat(ink));
    FontDocument doc(FontDocument::Western);
    QVERIFY(doc.importBitmap(path));
    const QRect before = GlyphBuilder::bounds(*doc.glyph(32));
    QCOMPARE(before.left(), 2);
    QString error;
    QVERIFY2(doc.setSideBearings(lsb, rsb, &error), qPrintable(error));
    const FontGlyph* g = doc.glyph(32);
    const QRect box = GlyphBuilder::bounds(*g);
    QCOMPARE(box.left(), lsb);
    QCOMPARE(box.width(), before.width());
    QCOMPARE(box.top(), before.top());
    QCOMPARE(g->leftSideBearing, lsb);
    QCOMPARE(g->advanceWidth, box.right() + rsb);
    // Setting them again gives the same glyph.
    const QList<QPolygon> contours = g->contours;
    QVERIFY(doc.setSideBearings(lsb, rsb));
    QCOMPARE(doc.glyph(32)->contours, contours);
}

void TestFontDocument::sideBearingsRefused_data()
{
    QTest::addColumn<int>("lsb");
    QTest::addColumn<int>("rsb");
    QTest::newRow("negative advance") << 0 << -100;
    QTest::newRow("beyond 16 bits") << 32767 << 0;
}

void TestFontDocument::sideBearingsRefused()
{
    QFETCH(int, lsb);
    QFETCH(int, rsb);
    const QString path = writeFile(m_files, QStringLiteral("sbr.bmp"),
                                   TestBmp::editorFormat(InkMask::fromText({"###"})));
    FontDocument doc(FontDocument::Western);
    QVERIFY(doc.importBitmap(path));
    QVERIFY(doc.saveAs(m_files.filePath(QStringLiteral("sbr.ttf"))));
    const QList<QPolygon> contours = doc.glyph(32)->contours;
    QString error;
    QVERIFY(!doc.setSideBearings(lsb, rsb, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(doc.glyph(32)->contours, contours);
    QCOMPARE(doc.glyph(32)->advanceWidth, 6);
    QVERIFY(doc.isSaved());
}

void TestFontDocument::sideBearingsOnEmptyAndMissing()
{
    FontDocument doc(FontDocument::Western);
    // No glyph yet: an empty one with the bearings' sum as advance.
    QVERIFY(doc.setSideBearings(30, 70));
    QVERIFY(doc.glyph(32));
    QCOMPARE(doc.glyph(32)->advanceWidth, 100);
    QCOMPARE(doc.glyph(32)->leftSideBearing, 0);
    QVERIFY(!doc.setSideBearings(-50, 10));
    QCOMPARE(doc.glyph(32)->advanceWidth, 100);
}

void TestFontDocument::glyphOfACodeTheFontLacks()
{
    FontDocument doc(FontDocument::Western);
    QString error;
    QVERIFY(!doc.setGlyph(0x82A0, FontGlyph{{}, 100, 0}, &error));
    QCOMPARE(error, QStringLiteral("the font cannot hold the code 0x82a0"));
    QVERIFY(!doc.glyph(0x82A0));
    QVERIFY(doc.isSaved());
}

void TestFontDocument::untitledSave_data()
{
    QTest::addColumn<QByteArray>("fallback"); // AtomicFile::FallbackVariable, empty last
    QTest::newRow("hidden name, exclusive rename") << QByteArray("hidden");
    QTest::newRow("hidden name, hard link") << QByteArray("link");
    QTest::newRow("nameless file") << QByteArray();
}

void TestFontDocument::untitledSave()
{
    QFETCH(QByteArray, fallback);
    qputenv(AtomicFile::FallbackVariable, fallback);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QVERIFY(QDir().mkpath(folder));
    const QString first = QDir(folder).filePath(QStringLiteral("Pointillo Western 1.ttf"));
    const QString second = QDir(folder).filePath(QStringLiteral("Pointillo Western 2.ttf"));
    const QString third = QDir(folder).filePath(QStringLiteral("Pointillo Western 3.ttf"));
    for (int n = 1; n <= 5; ++n)
        QFile::remove(QDir(folder).filePath(QStringLiteral("Pointillo Western %1.ttf").arg(n)));

    FontDocument a(FontDocument::Western);
    QString error;
    QVERIFY2(a.save(&error), qPrintable(error));
    QCOMPARE(a.fileName(), first);
    QVERIFY(a.isSaved());
    QVERIFY(FontDocument::open(first));

    // A file someone else put there is never replaced.
    QFile other(second);
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("not ours");
    other.close();
    FontDocument b(FontDocument::Western);
    QVERIFY(b.save());
    QCOMPARE(b.fileName(), third);
    QFile check(second);
    QVERIFY(check.open(QIODevice::ReadOnly));
    QCOMPARE(check.readAll(), QByteArray("not ours"));

    // Saving again writes the same file.
    QVERIFY(b.setSideBearings(1, 1));
    QVERIFY(!b.isSaved());
    QVERIFY(b.save());
    QCOMPARE(b.fileName(), third);

    // A family name read from a font stays inside the documents folder.
    FontDocument c(FontDocument::Western);
    c.setFamilyName(QStringLiteral("../../etc/x\ny"));
    QCOMPARE(QFileInfo(c.untitledFileName()).absolutePath(), QFileInfo(folder).absoluteFilePath());
    QVERIFY(c.save());
    QVERIFY(c.fileName().startsWith(folder + u'/'));

    // Names that other open fonts hold are passed over, though no file has them.
    const QString fourth = QDir(folder).filePath(QStringLiteral("Pointillo Western 4.ttf"));
    FontDocument d(FontDocument::Western);
    QVERIFY(d.save(nullptr, [&](const QString& path) { return path == fourth; }));
    QCOMPARE(d.fileName(), QDir(folder).filePath(QStringLiteral("Pointillo Western 5.ttf")));
    QCOMPARE(QDir(folder).entryList({QStringLiteral(".pointillo-*")}, QDir::Files | QDir::Hidden),
             QStringList());
}

void TestFontDocument::untitledSaveCreatesFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QVERIFY(QDir(folder).removeRecursively());
    FontDocument doc(FontDocument::Japanese);
    QString error;
    QVERIFY2(doc.save(&error), qPrintable(error));
    QCOMPARE(doc.fileName(), QDir(folder).filePath(QStringLiteral("Pointillo Japanese 1.ttf")));
    QVERIFY(QFile::exists(doc.fileName()));
}

void TestFontDocument::saveAsAndSave()
{
    FontDocument doc(FontDocument::Western);
    QVERIFY(doc.setSideBearings(0, 500));
    QVERIFY(QDir::setCurrent(m_files.path()));
    QString error;
    QVERIFY2(doc.saveAs(QStringLiteral("relative.ttf"), &error), qPrintable(error));
    QCOMPARE(doc.fileName(), m_files.filePath(QStringLiteral("relative.ttf")));
    QVERIFY(doc.isSaved());
    QVERIFY(doc.setSideBearings(0, 600));
    QVERIFY(doc.save());
    const auto back = FontDocument::open(doc.fileName());
    QVERIFY(back);
    QCOMPARE(back->glyph(32)->advanceWidth, 600);

    // A save keeps the file's permissions and, through a symbolic link, replaces the file the
    // link names.
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(doc.fileName(), permissions));
    QVERIFY(QFile::link(doc.fileName(), m_files.filePath(QStringLiteral("link.ttf"))));
    QVERIFY(doc.setSideBearings(0, 700) &&
            doc.saveAs(m_files.filePath(QStringLiteral("link.ttf"))));
    QVERIFY(QFileInfo(doc.fileName()).isSymLink());
    QCOMPARE(FontDocument::open(back->fileName())->glyph(32)->advanceWidth, 700);
    QCOMPARE(QFile::permissions(back->fileName()) & ~(QFile::ReadUser | QFile::WriteUser),
             permissions);
}

void TestFontDocument::failedSave()
{
    FontDocument doc(FontDocument::Western);
    QVERIFY(doc.setSideBearings(0, 500));
    QString error;
    // A folder that does not exist, and a name taken by a folder: nothing written, still
    // unsaved, still untitled.
    QVERIFY(!doc.saveAs(m_files.filePath(QStringLiteral("no/such/folder/x.ttf")), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QDir(m_files.path()).mkpath(QStringLiteral("taken.ttf")));
    error.clear();
    QVERIFY(!doc.saveAs(m_files.filePath(QStringLiteral("taken.ttf")), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!doc.isSaved());
    QVERIFY(doc.fileName().isEmpty());
    QVERIFY(!doc.saveAs(QString(), &error));
}

void TestFontDocument::saveErrorsSayWhy()
{
    // A file size limit stands in for a full disk: the reason is the system's, and the file
    // that was there stays as it was.
    FontDocument doc(FontDocument::Western);
    for (int code = 33; code < 255; ++code)
        QVERIFY(doc.setGlyph(code, FontGlyph{{QPolygon(QRect(0, 0, 100, 100))}, 200, 0}));
    const QString path = writeFile(m_files, QStringLiteral("limited.ttf"), "the old font");
    rlimit old, small;
    QVERIFY(::getrlimit(RLIMIT_FSIZE, &old) == 0);
    small = {4096, old.rlim_max};
    ::signal(SIGXFSZ, SIG_IGN);
    QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
    QString error;
    const bool saved = doc.saveAs(path, &error);
    QVERIFY(::setrlimit(RLIMIT_FSIZE, &old) == 0);
    QVERIFY(!saved && !doc.isSaved());
    QVERIFY2(error.contains(qt_error_string(EFBIG)) && error.contains(path), qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("the old font"));
}

void TestFontDocument::killDuringUntitledSave()
{
    // kill -9 at any moment of the first save of an untitled font leaves no file in the
    // documents folder, or the whole font: never a placeholder.
    FontDocument doc(FontDocument::Japanese);
    const InkMask ink = TestBmp::canvas(TestBmp::randomDots(24, 24, 0.4, 7), 80);
    ContourTracer tracer;
    FontGlyph glyph;
    QVERIFY(GlyphBuilder::fromInk(ink, tracer, &glyph));
    for (size_t i = 0; i < 3000; ++i)
        QVERIFY(doc.setGlyph(doc.codes()[i], glyph));
    const QDir folder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    for (int delayMs : {0, 1, 3, 10, 30, 60, 100, 200, 400, 800, 1600}) {
        QVERIFY(QDir(folder).removeRecursively() && QDir().mkpath(folder.path()));
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0)
            ::_exit(doc.save() ? 0 : 1);
        QThread::msleep(delayMs);
        ::kill(child, SIGKILL);
        int status = 0;
        QVERIFY(::waitpid(child, &status, 0) == child);
        const QStringList left = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
        QVERIFY2(left.size() <= 1, qPrintable(left.join(u", ")));
        for (const QString& name : left) {
            QString error;
            const auto back = FontDocument::open(folder.filePath(name), &error);
            QVERIFY2(back, qPrintable(QStringLiteral("after %1 ms: %2").arg(delayMs).arg(error)));
            QCOMPARE(back->glyphs().size(), doc.glyphs().size());
        }
    }
}

void TestFontDocument::openRoundTrip()
{
    const QString bmp = writeFile(m_files, QStringLiteral("rt.bmp"),
                                  TestBmp::editorFormat(TestBmp::randomMask(60, 50, 0.4, 9)));
    FontDocument doc(FontDocument::Japanese);
    for (int code : {0x41, 0xB1, 0x82A0, 0x8140, 0x889F, 0xEAA4}) {
        QVERIFY(doc.setCurrentCode(code));
        QVERIFY(doc.importBitmap(bmp));
        QVERIFY(doc.setSideBearings(code % 50, code % 70));
    }
    doc.setCurrentCode(0x8141);
    doc.selectAll();
    doc.deleteSelection();
    const QString path = m_files.filePath(QStringLiteral("rt.ttf"));
    QVERIFY(doc.saveAs(path));
    QString error;
    const auto back = FontDocument::open(path, &error);
    QVERIFY2(back, qPrintable(error));
    QCOMPARE(back->kind(), FontDocument::Japanese);
    QCOMPARE(back->familyName(), doc.familyName());
    QCOMPARE(back->fileName(), path);
    QVERIFY(back->isSaved());
    QCOMPARE(back->currentCode(), 32);
    QCOMPARE(back->glyphs().size(), doc.glyphs().size());
    for (const auto& [code, glyph] : doc.glyphs()) {
        const FontGlyph* other = back->glyph(code);
        QVERIFY(other);
        QCOMPARE(other->contours, glyph.contours);
        QCOMPARE(other->advanceWidth, glyph.advanceWidth);
        QCOMPARE(other->leftSideBearing, glyph.leftSideBearing);
    }
}

void TestFontDocument::openErrors_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << QByteArray() << "too short";
    QTest::newRow("garbage") << QByteArray(1000, 'x') << "not a TrueType";
    QTest::newRow("CFF") << QByteArray("OTTO\0\0\0\0\0\0\0\0", 12) << "CFF";
    QTest::newRow("collection") << QByteArray("ttcf\0\0\0\0\0\0\0\0", 12) << "collection";
    QTest::newRow("directory cut") << QByteArray("\0\1\0\0\0\x0A\0\0\0\0\0\0", 12) << "directory";
    // 1 MB of WOFF2 whose directory declares an untransformed head of 40 << 21 bytes, within
    // the 100 times the file that libwoff2 allocates and clears before it looks further.
    QByteArray woff2 = QByteArray("wOF2\0\1\0\0\0\x10\0\0\0\1", 14).leftJustified(1 << 20, '\0');
    woff2.replace(20, 4, "\0\x0F\xFF\xCB", 4).replace(48, 5, "\x01\xA8\x80\x80\x00", 5);
    QTest::newRow("WOFF2 declaring 80 MB") << woff2 << "declares a font of 83886108 bytes";
}

void TestFontDocument::openErrors()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, reason);
    const QString path = writeFile(m_files, QStringLiteral("bad.ttf"), data);
    QString error;
    QVERIFY(!FontDocument::open(path, &error));
    QVERIFY2(error.contains(reason, Qt::CaseInsensitive), qPrintable(error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    QVERIFY(!FontDocument::open(m_files.filePath(QStringLiteral("missing.ttf")), &error));
    QVERIFY2(error.contains(QStringLiteral("cannot open")), qPrintable(error));
}

void TestFontDocument::familyFromFirstSaveAs_data()
{
    QTest::addColumn<QString>("before"); // "", a family to give, "reset" or "read"
    QTest::addColumn<QStringList>("saves");
    QTest::addColumn<QString>("family");
    QTest::newRow("untitled: the first name stays")
        << QString() << QStringList{"MyPixel.ttf", "Other.ttf"} << "MyPixel";
    QTest::newRow("web font, dots in the name")
        << QString() << QStringList{"My.Pixel.woff2"} << "My.Pixel";
    QTest::newRow("a failed save names nothing")
        << QString() << QStringList{"no/such/folder/x.ttf", "Second.ttf"} << "Second";
    QTest::newRow("family given first") << "Given" << QStringList{"MyPixel.ttf"} << "Given";
    QTest::newRow("an emptied family is taken again")
        << "reset" << QStringList{"Reset.ttf"} << "Reset";
    QTest::newRow("read from a font") << "read" << QStringList{"Read.ttf"} << "Pointillo Western";
}

void TestFontDocument::familyFromFirstSaveAs()
{
    QFETCH(QString, before);
    QFETCH(QStringList, saves);
    QFETCH(QString, family);
    std::unique_ptr<FontDocument> doc = std::make_unique<FontDocument>(FontDocument::Western);
    QVERIFY(doc->importBitmap(0x41, writeFile(m_files, QStringLiteral("n.bmp"),
                                              TestBmp::editorFormat(InkMask::fromText({"##"})))));
    if (before == u"read") {
        doc = FontDocument::fromTrueType(doc->toTrueType());
    } else if (before == u"reset") {
        doc->setFamilyName(QStringLiteral("Given"));
        doc->setFamilyName(QString());
    } else if (!before.isEmpty()) {
        doc->setFamilyName(before);
    }
    QCOMPARE(doc->familyGiven(), before == u"read" || (!before.isEmpty() && before != u"reset"));
    for (const QString& name : saves)
        doc->saveAs(m_files.filePath(name));
    QCOMPARE(doc->familyName(), family);
    QVERIFY(doc->familyGiven());
    QString error;
    const auto back = FontDocument::open(doc->fileName(), &error);
    QVERIFY2(back, qPrintable(error));
    QCOMPARE(back->familyName(), family);
    QCOMPARE(back->glyphs().size(), size_t(1));
}

QTEST_GUILESS_MAIN(TestFontDocument)
#include "tst_fontdocument.moc"
