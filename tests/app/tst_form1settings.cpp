// The remembered settings through the window: the defaults of a first run, the settings file
// pinning values over the user's store, save and load, the reset, and stores that cannot be
// read or written.

#include "app/SettingsTable.h"
#include "chartable/PreviewWindow.h"
#include "common/Form1Fixture.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QSlider>
#include <QTest>

using Key = SettingsTable::Key;

namespace {

// The fifteen values as the window holds them, in the keys' order.
QVariantList shown(const Form1& f)
{
    return {f.SliderDotX->value(),
            f.SliderDotY->value(),
            f.SliderSize->value(),
            f.char_,
            int(f.CheckSquare->isChecked()),
            int(f.CheckRefChar->isChecked()),
            f.TextFace->text(),
            int(f.CheckSB->isChecked()),
            int(f.CheckChrTbl->isChecked()),
            f.TextLSB->text(),
            f.TextRSB->text(),
            int(f.CheckAutoSave->isChecked()),
            f.TextBufFileName->text(),
            f.startchar,
            f.endchar};
}

const QVariantList defaults{12,   20, 100,           33, 1,  1, "Arial", 0, 1, "20",
                            "20", 1,  "ptl_buf.bmp", 32, 126};
// None of them a default, each in range.
const QVariantList others{
    14, 25, 57, 0x41, 0, 0, "DejaVu Serif", 1, 0, "-3", "7.5", 0, "glyphs/mine.bmp", 48, 57};

// The user's store holds values.
void storeForUser(const QVariantList& values)
{
    const std::unique_ptr<QSettings> user = SettingsTable::openUserStore();
    for (const Key key : SettingsTable::keys)
        user->setValue(SettingsTable::name(key), values[key].toString());
    user->sync();
}

QByteArray bytesOf(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void put(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestForm1Settings : public QObject, private Form1Fixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstRunDefaults();
    void fileValues_data();
    void fileValues();
    void userValues_data();
    void userValues();
    void fileWithTheFaceAlone();
    void savedComesBack();
    void loadingLeavesTheServerAlone();
    void storesThatFail();

private:
    QString ini() const { return m_form->iniFileName; }
    // A new window on the stores, loaded as at start-up.
    Form1& loaded();
};

void TestForm1Settings::init()
{
    clearUserStore();
    createForm(FakeTTEdit::Kind::Western);
}

void TestForm1Settings::cleanup()
{
    destroyForm();
}

Form1& TestForm1Settings::loaded()
{
    const QString file = ini();
    m_form = std::make_unique<Form1>(&m_prompt, m_ttedit.get(), &m_desktop);
    m_form->iniFileName = file;
    m_form->Form_Load();
    return *m_form;
}

void TestForm1Settings::firstRunDefaults()
{
    // The window's own start values differ: the face box says "ＭＳ Ｐゴシック".
    Form1& f = *m_form;
    f.Form_Load();
    QCOMPARE(shown(f), defaults);
    // The steps after the keys ran: the size label, the face, the wide window.
    QCOMPARE(f.LabelSize->text(), QStringLiteral("100%"));
    QCOMPARE(f.curFace, QStringLiteral("Arial"));
    QCOMPARE(f.width(), Form1::ClientWidth);
    QVERIFY(!f.bLoading);
    // Nothing was written, and the code boxes left the font server alone.
    QVERIFY(!QFile::exists(ini()));
    QVERIFY(m_ttedit->calls().isEmpty());
}

void TestForm1Settings::fileValues_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("key");
    QTest::addColumn<QVariant>("expected");

    const auto row = [](const char* name, QByteArray line, Key key, QVariant expected) {
        QTest::newRow(name) << "; pinned\n[POINTILLO]\n" + line + "\n" << int(key) << expected;
    };
    // The user's store holds the other values: 14 dots wide.
    row("marker", "X=*", Key::X, 14);
    row("marker in front", "X=*16", Key::X, 14);
    row("leading blank", "X= 16", Key::X, 16);
    row("letters after", "X=16abc", Key::X, 16);
    row("hexadecimal", "X=&H10", Key::X, 16);
    row("octal", "X=&O20", Key::X, 16);
    row("blanks and tabs inside", "X=1 \t6", Key::X, 16);
    row("exponent", "X=1.6E1", Key::X, 16);
    row("half to the even 16", "X=16.5", Key::X, 16);
    row("half to the even 18", "X=17.5", Key::X, 18);
    row("names in other case", "x=16", Key::X, 16);
    row("empty number is 0, held to 3", "X=", Key::X, 3);
    row("wider than 32", "X=40", Key::X, 32);
    row("size 0", "S=0", Key::S, 1);
    row("negative size", "S=-7", Key::S, 1);
    row("check value 7", "Square=7", Key::Square, 1);
    row("check not a number", "RefChar=yes", Key::RefChar, 0);
    row("code", "Char=&H41", Key::Char, 0x41);
    row("code beyond 16 bits", "EndChar=1E9", Key::EndChar, 0xFFFF);
    row("empty text", "LSB=", Key::LSB, QString());
    row("text with blanks", "RefFace=  Liberation Serif ", Key::RefFace, "Liberation Serif");
    row("text cut to 127 bytes", "RefFace=" + QByteArray(200, 'a'), Key::RefFace,
        QString(127, u'a'));
    row("text cut before a character", "BufFileName=" + QString(70, u'あ').toUtf8(),
        Key::BufFileName, QString(42, u'あ'));
    row("text to its zero byte", QByteArray("LSB=12\0 34", 10), Key::LSB, "12");
    QTest::newRow("section in other case")
        << QByteArray("[pointillo]\nX=16\n") << int(Key::X) << QVariant(16);
    QTest::newRow("first section counts")
        << QByteArray("[POINTILLO]\nX=16\n[POINTILLO]\nX=20\n") << int(Key::X) << QVariant(16);
    QTest::newRow("another section's key")
        << QByteArray("[Other]\nX=16\n[POINTILLO]\nY=4\n") << int(Key::X) << QVariant(14);
}

void TestForm1Settings::fileValues()
{
    QFETCH(QByteArray, file);
    QFETCH(int, key);
    storeForUser(others);
    put(ini(), file);
    m_form->Form_Load();
    QTEST(shown(*m_form)[key], "expected");
}

void TestForm1Settings::userValues_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("not a number") << int(Key::X) << "wide" << QVariant(12);
    QTest::newRow("number and letters") << int(Key::Y) << "16abc" << QVariant(20);
    QTest::newRow("half to the even") << int(Key::X) << "16.5" << QVariant(16);
    QTest::newRow("wider than 32") << int(Key::X) << "40" << QVariant(32);
    QTest::newRow("size 0") << int(Key::S) << "0" << QVariant(1);
    QTest::newRow("check value 7") << int(Key::SetSB) << "7" << QVariant(1);
    QTest::newRow("empty check") << int(Key::SetSB) << "" << QVariant(0);
    QTest::newRow("text with a comma")
        << int(Key::RefFace) << "Noto Sans, Bold" << QVariant("Noto Sans, Bold");
}

void TestForm1Settings::userValues()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    // Written as a hand would: the text as it stands in the store's file.
    {
        const std::unique_ptr<QSettings> user = SettingsTable::openUserStore();
        user->setValue(QStringLiteral("Y"), 5); // makes the file
        user->sync();
        const QString path = user->fileName();
        QByteArray conf = bytesOf(path);
        conf.replace("Y=5", SettingsTable::name(Key(key)).toUtf8() + '=' + text.toUtf8());
        put(path, conf);
    }
    m_form->Form_Load();
    QTEST(shown(*m_form)[key], "expected");
}

void TestForm1Settings::fileWithTheFaceAlone()
{
    // Only the face is pinned; everything else comes from the user's store.
    storeForUser(others);
    put(ini(), "[POINTILLO]\nRefFace=Liberation Mono\n");
    m_form->Form_Load();
    QVariantList expected = others;
    expected[Key::RefFace] = QStringLiteral("Liberation Mono");
    QCOMPARE(shown(*m_form), expected);
    QCOMPARE(m_form->curFace, QStringLiteral("Liberation Mono"));
    // The steps after the keys: the size label, the narrow window, the side bearings' boxes.
    QCOMPARE(m_form->LabelSize->text(), QStringLiteral("57%"));
    QCOMPARE(m_form->width(), Form1::EditorWidth);
    QVERIFY(m_form->TextLSB->isEnabled());
    QVERIFY(m_ttedit->calls().isEmpty());
}

void TestForm1Settings::savedComesBack()
{
    Form1& f = *m_form;
    f.Form_Load();
    // The user's own lines and sections stay, CR LF line ends included.
    put(ini(), "; pinned by hand\r\n[Other]\r\nX=1\r\n[pointillo]\r\nx=5\r\nMine=1\r\n");
    storeForUser(others);
    f.mnuloadsetting->trigger();
    f.SliderDotX->setValue(14);
    f.mnusavesetting->trigger();
    QCOMPARE(bytesOf(ini()), QByteArray("; pinned by hand\r\n[Other]\r\nX=1\r\n[pointillo]\r\n"
                                        "X= 14\r\nMine=1\r\nY= 25\r\nS= 57\r\nChar= 65\r\n"
                                        "Square= 0\r\nRefChar= 0\r\nRefFace=DejaVu Serif\r\n"
                                        "SetSB= 1\r\nCharTbl= 0\r\nLSB=-3\r\nRSB=7.5\r\n"
                                        "AutoSave= 0\r\nBufFileName=glyphs/mine.bmp\r\n"
                                        "StartChar= 48\r\nEndChar= 57\r\n"));
    const std::unique_ptr<QSettings> user = SettingsTable::openUserStore();
    QCOMPARE(user->value(QStringLiteral("Char")).toString(), QStringLiteral("65"));
    QCOMPARE(user->value(QStringLiteral("LSB")).toString(), QStringLiteral("-3"));

    // The reset writes nothing; the next load, by the menu and at the next start, brings
    // every value back from either store alone.
    const QByteArray saved = bytesOf(ini());
    f.mnudefault->trigger();
    QCOMPARE(shown(f), defaults);
    QCOMPARE(f.curFace, QStringLiteral("Arial"));
    QCOMPARE(bytesOf(ini()), saved);
    f.mnuloadsetting->trigger();
    QCOMPARE(shown(f), others);
    QCOMPARE(shown(loaded()), others);
    QVERIFY(QFile::remove(ini()));
    QCOMPARE(shown(loaded()), others);
    storeForUser(defaults);
    put(ini(), saved);
    QCOMPARE(shown(loaded()), others);

    // A text the file cannot hold as it is stays the user's store's: the file says "*".
    Form1& g = *m_form;
    const QString longName = QStringLiteral("folder/") + QString(150, u'n') + ".bmp";
    g.TextBufFileName->setText(longName);
    g.TextLSB->setText(QStringLiteral(" 5 "));
    g.SaveSettings();
    QVERIFY(bytesOf(ini()).contains("\nBufFileName=*\r\n"));
    QVERIFY(bytesOf(ini()).contains("\nLSB=*\r\n"));
    QCOMPARE(loaded().TextBufFileName->text(), longName);
    QCOMPARE(m_form->TextLSB->text(), QStringLiteral(" 5 "));

    // The preview's text and placement go with them, in the user's store alone.
    m_form->mnupreview->trigger();
    PreviewWindow& preview = *m_form->preview();
    preview.TextSample->setText(QStringLiteral("Hamburgefonstiv"));
    preview.move(40, 30);
    const QByteArray placement = preview.saveGeometry();
    m_form->mnusavesetting->trigger();
    preview.TextSample->setText(QStringLiteral("other"));
    preview.move(70, 60);
    m_form->mnuloadsetting->trigger();
    QCOMPARE(preview.TextSample->text(), QStringLiteral("Hamburgefonstiv"));
    QCOMPARE(preview.saveGeometry(), placement);
    QVERIFY(!bytesOf(ini()).contains("Preview"));
    m_form->mnudefault->trigger();
    QCOMPARE(preview.TextSample->text(), PreviewWindow::defaultText());
}

void TestForm1Settings::loadingLeavesTheServerAlone()
{
    // With a Japanese font both code boxes' handling runs on the redraws of the load; the
    // loaded code stands, and the server hears nothing of it.
    createForm(FakeTTEdit::Kind::Japanese);
    Form1& f = *m_form;
    showAtOrigin(f);
    f.Form_Activate();
    QCOMPARE(f.fontKind, 2);
    QVariantList values = others;
    values[Key::Char] = 0x82A0;
    storeForUser(values);
    m_ttedit->clearCalls();
    f.mnuloadsetting->trigger();
    QCOMPARE(shown(f), values);
    QCOMPARE(f.TextCode->text(), QStringLiteral("82A0"));
    QCOMPARE(m_ttedit->callNames(), QStringList());
    QCOMPARE(m_ttedit->currentCode(), 33);
}

void TestForm1Settings::storesThatFail()
{
    // The user's store's folder is a file, the settings file's folder is missing: start-up
    // gets the defaults, the save passes over both, and nobody is told.
    const QString config = QDir::home().filePath(QStringLiteral(".config/marrowby"));
    QDir(config).removeRecursively();
    QFile::remove(config);
    put(config, "not a folder");
    m_form->iniFileName = m_workDir->filePath(QStringLiteral("none/ptl_settings.ini"));
    m_form->Form_Load();
    QCOMPARE(shown(*m_form), defaults);
    m_form->SliderDotX->setValue(30);
    m_form->SaveSettings();
    QCOMPARE(bytesOf(config), QByteArray("not a folder"));
    QVERIFY(!QFile::exists(m_form->iniFileName));
    QVERIFY(m_prompt.shown().isEmpty());
    QVERIFY(QFile::remove(config));
}

QTEST_MAIN(TestForm1Settings)
#include "tst_form1settings.moc"
