#include "chartable/CharTable.h"
#include "chartable/GlyphStore.h"
#include "chartable/PageFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestGlyphStore : public QObject
{
    Q_OBJECT

private slots:
    void cells_data();
    void cells();
    void pagesAreMadeByWrites();
    void pageFilesFollowTheStore();
};

void TestGlyphStore::cells_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("page"); // -1: no cell
    QTest::addColumn<QPoint>("origin");

    QTest::newRow("A") << 0x41 << 0 << QPoint(32, 128);
    QTest::newRow("control 0") << 0 << 0 << QPoint(0, 0);
    QTest::newRow("255") << 0xFF << 0 << QPoint(480, 480);
    QTest::newRow("hiragana a") << 0x82A0 << 0x82 << QPoint(0, 320);
    QTest::newRow("ideographic space") << 0x8140 << 0x81 << QPoint(0, 128);
    QTest::newRow("a kanji of E0") << 0xE040 << 0xE0 << QPoint(0, 128);
    QTest::newRow("a lead byte alone") << 0x8100 << -1 << QPoint();
    QTest::newRow("a trail byte 7F") << 0x827F << -1 << QPoint();
    QTest::newRow("not a lead byte") << 0x0100 << -1 << QPoint();
    QTest::newRow("A0 is no lead byte") << 0xA0A1 << -1 << QPoint();
    QTest::newRow("beyond 16 bits") << 0x182A0 << -1 << QPoint();
    QTest::newRow("negative") << -1 << -1 << QPoint();
}

void TestGlyphStore::cells()
{
    QFETCH(int, code);
    QFETCH(int, page);
    QFETCH(QPoint, origin);
    QCOMPARE(GlyphStore::pageOf(code), page);
    const QRect cell = GlyphStore::cellRect(code);
    QCOMPARE(cell, page < 0 ? QRect() : QRect(origin, QSize(32, 32)));
    if (page >= 0) {
        QCOMPARE(GlyphStore::codeAt(page, origin.x() + 31.9, origin.y()), code);
        QVERIFY(GlyphStore::allPages().contains(page));
    }

    // A code without a cell reads clear and takes no writes.
    GlyphStore store;
    QCOMPARE(store.setPixel(code, QPoint(3, 4), CharTable::SetColour), page >= 0);
    QCOMPARE(store.isSet(code, QPoint(3, 4)), page >= 0);
    QCOMPARE(store.hasDots(code, QSize(4, 5)), page >= 0);
    QCOMPARE(store.hasDots(code, QSize(3, 5)), false);
    QCOMPARE(store.codes(), page >= 0 ? QList<int>{code} : QList<int>{});
}

void TestGlyphStore::pagesAreMadeByWrites()
{
    GlyphStore store;
    QCOMPARE(store.page(0x82), CharTable::blank()); // read, not made
    QCOMPARE(store.pages(), QList<int>{0});
    // A glyph in, cut to its cell, and back.
    QImage dots(40, 40, QImage::Format_RGB32);
    dots.fill(CharTable::ClearColour);
    for (QPoint p : {QPoint(0, 0), QPoint(31, 31), QPoint(35, 0)})
        dots.setPixel(p, CharTable::SetColour);
    QVERIFY(store.setGlyph(0x82A1, dots));
    QCOMPARE(store.glyph(0x82A1), dots.copy(0, 0, 32, 32));
    QVERIFY(store.setGlyph(0x82A1, dots.copy(0, 0, 2, 2))); // the rest of the cell stays
    QCOMPARE(store.glyph(0x82A1), dots.copy(0, 0, 32, 32));
    QCOMPARE(store.codes(QSize(31, 31)), QList<int>{0x82A1});
    // Another colour keeps a page; only clear white lets it go.
    store.setPixel(0xE040, QPoint(0, 0), qRgb(0, 0, 1));
    CharTable::clearAll(store.pageForWrite(0x82));
    QCOMPARE(store.dropEmptyPages(), QList<int>{0x82});
    QCOMPARE(store.pages(), (QList<int>{0, 0xE0}));
}

void TestGlyphStore::pageFilesFollowTheStore()
{
    // Named after the table file, the lead byte in upper case, the folder as given.
    QCOMPARE(PageFiles::fileName(QStringLiteral("ptl_buf.bmp"), 0x82), "ptl_buf.82.bmp");
    QCOMPARE(PageFiles::fileName(QStringLiteral("/a/mine.v2.BMP"), 0xE0), "/a/mine.v2.E0.BMP");
    QCOMPARE(PageFiles::fileName(QStringLiteral("sub/table"), 0x9F), "sub/table.9F");
    QTemporaryDir dir;
    const QString table = dir.filePath(QStringLiteral("ptl_buf.bmp"));
    const QString page82 = PageFiles::fileName(table, 0x82);
    const QString page88 = PageFiles::fileName(table, 0x88);
    GlyphStore store;
    store.setPixel(0x82A0, QPoint(0, 0), CharTable::SetColour);
    store.setPixel(0x889F, QPoint(5, 5), CharTable::SetColour);
    store.pageForWrite(0x83);                                                    // made, but blank
    QVERIFY(QFile(PageFiles::fileName(table, 0x83)).open(QIODevice::WriteOnly)); // a former one
    PageFiles files;
    QString error;
    QVERIFY2(files.save(store, table, &error), qPrintable(error));
    QCOMPARE(QFileInfo(page82).size(), 62 + 512 * 512 / 8); // one bit a pixel
    QVERIFY(!QFile::exists(PageFiles::fileName(table, 0x83)));
    QCOMPARE(store.pages(), (QList<int>{0, 0x82, 0x88}));

    // Only what changed is written again; an emptied page's file goes.
    QVERIFY(QFile::remove(page88));
    QVERIFY(QFile::link(QStringLiteral("/nonexistent"), page88)); // would fail a write
    store.setPixel(0x82A0, QPoint(0, 0), CharTable::ClearColour);
    QVERIFY(files.save(store, table, &error));
    QVERIFY(!QFile::exists(page82));
    QVERIFY(QFileInfo(page88).isSymLink());
    QCOMPARE(store.pages(), (QList<int>{0, 0x88}));
}

QTEST_APPLESS_MAIN(TestGlyphStore)
#include "tst_glyphstore.moc"
