#include "chartable/CharTable.h"
#include "chartable/PreviewLine.h"
#include "common/SampleTable.h"

#include <QTest>

namespace {
constexpr QRgb White = 0xffffffff;
constexpr QRgb Grey = 0xffc8c8c8;
} // namespace

class TestPreviewLine : public QObject
{
    Q_OBJECT

private slots:
    void codes_data();
    void codes();
    void line();
};

void TestPreviewLine::codes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<std::optional<int>>>("codes");

    QTest::newRow("letters") << "Ab 9" << QList<std::optional<int>>{65, 98, 32, 57};
    QTest::newRow("katakana, one byte") << "ｱ" << QList<std::optional<int>>{0xB1};
    QTest::newRow("hiragana a, two bytes") << "あ" << QList<std::optional<int>>{0x82A0};
    QTest::newRow("no code; a surrogate pair is one character")
        << "\u20AC\U0001F600x" << QList<std::optional<int>>{std::nullopt, std::nullopt, 120};
    QTest::newRow("a control character") << "\t" << QList<std::optional<int>>{9};
}

void TestPreviewLine::codes()
{
    QFETCH(QString, text);
    QFETCH(QList<std::optional<int>>, codes);
    QCOMPARE(PreviewLine::codes(text), codes);
}

void TestPreviewLine::line()
{
    const QImage table = SampleTable::make();
    const QSize glyph(5, 7);
    // A, then three characters without a glyph (no code, a control code, two bytes), then !.
    const QString text = QStringLiteral("A\u20AC\tあ!");
    const QImage line = PreviewLine::render(table, text, glyph);
    QCOMPARE(line.size(), QSize(5 * 6 - 1, 7));
    for (int i = 0; i < 5; ++i) {
        const int left = i * 6;
        const QPoint cell = CharTable::cellOrigin(i == 0 ? 65 : 33);
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; x < 5; ++x) {
                const bool edge = x == 0 || y == 0 || x == 4 || y == 6;
                const QRgb expected = i == 0 || i == 4 ? table.pixel(cell + QPoint(x, y))
                                      : edge           ? Grey
                                                       : White;
                QCOMPARE(line.pixel(left + x, y), expected);
            }
            if (i < 4)
                QCOMPARE(line.pixel(left + 5, y), White); // one clear column between
        }
    }
    QVERIFY(PreviewLine::render(table, QString(), glyph).isNull());
    // The largest glyph is the whole cell.
    QCOMPARE(PreviewLine::render(table, QStringLiteral("!!"), QSize(32, 32)).size(), QSize(65, 32));
}

QTEST_APPLESS_MAIN(TestPreviewLine)
#include "tst_previewline.moc"
