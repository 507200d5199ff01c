// The choice of the interface language from the locale, and the English catalogue: complete,
// built in, and holding every Japanese text of the sources.

#include "i18n/UiLanguage.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>
#include <cstdio>
#include <cstring>

namespace {

bool hasJapanese(const QString& text)
{
    static const QRegularExpression japanese(
        QStringLiteral("[\\x{3000}-\\x{30ff}\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    return text.contains(japanese);
}

struct Message
{
    QString context, source, translation, type, comment;
    int count = -1; // a text with a count (%n): the count that chooses this form
};

QList<Message> readCatalogue(const QString& path)
{
    QList<Message> out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return out;
    QXmlStreamReader xml(&file);
    QString context;
    bool numerus = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            out << Message{context, {}, {}, {}, {}};
            numerus = xml.attributes().value(QLatin1String("numerus")) == u"yes";
        } else if (xml.name() == u"source" && !out.isEmpty()) {
            out.last().source = xml.readElementText();
        } else if (xml.name() == u"translation" && !out.isEmpty()) {
            out.last().type = xml.attributes().value(QLatin1String("type")).toString();
            if (!numerus)
                out.last().translation = xml.readElementText();
        } else if (xml.name() == u"comment" && !out.isEmpty()) {
            out.last().comment = xml.readElementText();
        } else if (xml.name() == u"numerusform" && !out.isEmpty()) {
            // A message for each form English tells apart: for 1, then for the other counts.
            const int count = std::max(out.last().count, 0) + 1;
            if (count > 1)
                out << out.last();
            out.last().count = count;
            out.last().translation = xml.readElementText();
        }
    }
    return out;
}

// Texts in the sources that are data, not words of the program: the reference face's name.
const QStringList dataTexts{QStringLiteral("ＭＳ Ｐゴシック")};

} // namespace

class TestUiLanguage : public QObject
{
    Q_OBJECT

private slots:
    void catalogue_data();
    void catalogue();
    void fromTheEnvironment_data();
    void fromTheEnvironment();
    void englishCatalogueIsComplete();
    void everyJapaneseTextIsTranslatable();
};

void TestUiLanguage::catalogue_data()
{
    QTest::addColumn<QStringList>("uiLanguages");
    QTest::addColumn<QStringList>("available");
    QTest::addColumn<QString>("chosen");
    const QStringList en{"en"};
    QTest::newRow("Japanese") << QStringList{"ja"} << en << QString();
    QTest::newRow("Japanese of Japan")
        << QStringList{"ja-JP", "ja-Jpan-JP", "ja"} << en << QString();
    QTest::newRow("English") << QStringList{"en-US", "en"} << en << "en";
    QTest::newRow("letter case") << QStringList{"EN-gb"} << en << "en";
    QTest::newRow("C locale") << QStringList{"C"} << en << "en";
    QTest::newRow("nothing") << QStringList{} << en << "en";
    QTest::newRow("no catalogue: English") << QStringList{"fr-FR", "fr"} << en << "en";
    QTest::newRow("German, then Japanese") << QStringList{"de-DE", "ja-JP"} << en << QString();
    QTest::newRow("French, then English") << QStringList{"fr-FR", "en-GB"} << en << "en";
    QTest::newRow("territory first")
        << QStringList{"pt-BR"} << QStringList{"en", "pt", "pt_BR"} << "pt_BR";
    QTest::newRow("language when no territory")
        << QStringList{"pt-PT"} << QStringList{"en", "pt_BR", "pt"} << "pt";
    QTest::newRow("script") << QStringList{"zh-Hant-TW"} << QStringList{"zh", "zh_Hant"}
                            << "zh_Hant";
    QTest::newRow("catalogue before later Japanese")
        << QStringList{"pt-BR", "ja"} << QStringList{"en", "pt_BR"} << "pt_BR";
}

void TestUiLanguage::catalogue()
{
    QFETCH(QStringList, uiLanguages);
    QFETCH(QStringList, available);
    QFETCH(QString, chosen);
    QCOMPARE(UiLanguage::catalogue(uiLanguages, available), chosen);
}

void TestUiLanguage::fromTheEnvironment_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("said"); // how the program says the server cannot be reached
    const QString ja = QStringLiteral("TTEditが起動できませんでした");
    const QString en = QStringLiteral("The font server pointillo-fontd could not be started");
    // No system locale needs to exist: none but C is generated on these machines.
    QTest::newRow("LANG Japanese") << QStringList{"LANG=ja_JP.UTF-8"} << ja;
    QTest::newRow("LANG English") << QStringList{"LANG=en_US.UTF-8"} << en;
    QTest::newRow("LANG French") << QStringList{"LANG=fr_FR.UTF-8"} << en;
    QTest::newRow("C") << QStringList{"LANG=C"} << en;
    QTest::newRow("nothing set") << QStringList{} << en;
    QTest::newRow("LC_ALL over LANG")
        << QStringList{"LC_ALL=ja_JP.UTF-8", "LANG=en_US.UTF-8"} << ja;
    QTest::newRow("LC_MESSAGES over LANG")
        << QStringList{"LC_MESSAGES=ja_JP.UTF-8", "LANG=en_US.UTF-8"} << ja;
    QTest::newRow("LANGUAGE over LC_ALL") << QStringList{"LANGUAGE=en", "LC_ALL=ja_JP.UTF-8"} << en;
    QTest::newRow("LANGUAGE list") << QStringList{"LANGUAGE=de:ja", "LANG=de_DE.UTF-8"} << ja;
}

void TestUiLanguage::fromTheEnvironment()
{
    QFETCH(QStringList, environment);
    QFETCH(QString, said);
    // This program again, as a program starts: the catalogue is chosen and loaded at start.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
        env.remove(QString::fromLatin1(name));
    for (const QString& setting : environment)
        env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--say")});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).trimmed(), said);
}

void TestUiLanguage::englishCatalogueIsComplete()
{
    QVERIFY(UiLanguage::builtIn().contains(QStringLiteral("en")));
    QTranslator built;
    QVERIFY(built.load(QStringLiteral(":/i18n/pointillo_en.qm")));
    const QList<Message> messages = readCatalogue(qEnvironmentVariable("POINTILLO_SOURCE_DIR") +
                                                  QStringLiteral("/translations/pointillo_en.ts"));
    QVERIFY(messages.size() > 200);
    QStringList faults;
    int japanese = 0;
    for (const Message& m : messages) {
        const QString where = m.context + QStringLiteral(": ") + m.source;
        if (!m.type.isEmpty() || m.translation.isEmpty())
            faults << QStringLiteral("not translated: ") + where;
        if (hasJapanese(m.translation))
            faults << QStringLiteral("Japanese in the translation: ") + where;
        if (!hasJapanese(m.source))
            continue;
        ++japanese;
        // Identical texts stay out of the built catalogue; every Japanese one is in it.
        const QByteArray comment = m.comment.toUtf8();
        const QString shown =
            built.translate(qPrintable(m.context), qPrintable(m.source),
                            comment.isEmpty() ? nullptr : comment.constData(), m.count);
        if (shown != m.translation)
            faults << QStringLiteral("not built in: ") + where;
        // The same placeholders, or arguments would go missing or be misplaced.
        static const QRegularExpression placeholder(QStringLiteral("%(\\d|n)"));
        QStringList from, to;
        for (const auto& p : placeholder.globalMatch(m.source))
            from << p.captured();
        for (const auto& p : placeholder.globalMatch(m.translation))
            to << p.captured();
        from.sort();
        to.sort();
        if (from != to)
            faults << QStringLiteral("placeholders differ: ") + where;
    }
    QVERIFY(japanese >= 40);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

void TestUiLanguage::everyJapaneseTextIsTranslatable()
{
    // A Japanese string in the sources is a piece of a text that lupdate found in tr(): one
    // written without tr(), or a catalogue not refreshed since (update_translations), fails.
    const QString root = qEnvironmentVariable("POINTILLO_SOURCE_DIR");
    QStringList sources;
    for (const Message& m : readCatalogue(root + QStringLiteral("/translations/pointillo_en.ts")))
        sources << m.source;
    static const QRegularExpression literal(QStringLiteral("\"((?:[^\"\\\\]|\\\\.)*)\""));
    QStringList faults;
    int seen = 0;
    QDirIterator it(root + QStringLiteral("/src"), {"*.cpp", "*.h"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        QVERIFY(file.open(QIODevice::ReadOnly));
        int number = 0;
        for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
            ++number;
            if (line.trimmed().startsWith(QStringLiteral("//")))
                continue;
            for (const auto& m : literal.globalMatch(line)) {
                const QString text = m.captured(1);
                if (!hasJapanese(text) || dataTexts.contains(text))
                    continue;
                ++seen;
                const bool found = std::any_of(sources.begin(), sources.end(),
                                               [&](const QString& s) { return s.contains(text); });
                if (!found)
                    faults << QStringLiteral("%1:%2: %3").arg(it.fileName()).arg(number).arg(text);
            }
        }
    }
    QVERIFY(seen >= 40);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--say") == 0) {
        QCoreApplication app(argc, argv);
        UiLanguage::install(app);
        std::puts(
            qUtf8Printable(QCoreApplication::translate("Form1", "TTEditが起動できませんでした")));
        return 0;
    }
    QCoreApplication app(argc, argv);
    TestUiLanguage test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_uilanguage.moc"
