// The remembered settings: a first run, the settings file over the user's store, save, load
// and reset through the window, stores that fail, and what a save keeps of the file.

#include "app/ProfileFile.h"
#include "chartable/PreviewWindow.h"
#include "common/Form1Fixture.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QSlider>
#include <QStringEncoder>
#include <QTest>

using Key = SettingsTable::Key;

namespace {

// The fifteen values as the window shows them, in the keys' order.
QVariantList shown(const Form1& f)
{
    QVariantList v{f.SliderDotX->value(), f.SliderDotY->value(), f.SliderSize->value(), f.char_};
    v << int(f.CheckSquare->isChecked()) << int(f.CheckRefChar->isChecked()) << f.TextFace->text()
      << int(f.CheckSB->isChecked()) << int(f.CheckChrTbl->isChecked()) << f.TextLSB->text()
      << f.TextRSB->text() << int(f.CheckAutoSave->isChecked()) << f.TextBufFileName->text()
      << f.startchar << f.endchar;
    return v;
}

const QVariantList defaults{12,   20, 100,           33, 1,  1, "Arial", 0, 1, "20",
                            "20", 1,  "ptl_buf.bmp", 32, 126};
const QVariantList others{
    14, 25, 57, 0x41, 0, 0, "DejaVu Serif", 1, 0, "-3", "7.5", 0, "glyphs/mine.bmp", 48, 57};

void storeForUser(const QVariantList& values)
{
    const std::unique_ptr<QSettings> user = SettingsTable::openUserStore();
    for (const Key key : SettingsTable::keys)
        user->setValue(SettingsTable::name(key), values[key].toString());
}

QByteArray bytesOf(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

// text in UTF-16 after a byte order mark, as Windows editors save it.
QByteArray utf16(const QString& text)
{
    return QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom)(text);
}

void put(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

} // namespace

class TestForm1Settings : public QObject, private Form1Fixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstRunDefaults();
    void values_data();
    void values();
    void savedComesBack();
    void loadingLeavesTheServerAlone();
    void storesThatFail();
    void fileWritten_data();
    void fileWritten();

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
    Form1& f = *m_form;
    f.Form_Load();
    QCOMPARE(shown(f), defaults);
    // The steps after the keys: the size label, the face, the wide window.
    QCOMPARE(f.LabelSize->text(), QStringLiteral("100%"));
    QCOMPARE(f.curFace, QStringLiteral("Arial"));
    QCOMPARE(f.width(), Form1::ClientWidth);
    QVERIFY(!f.bLoading && !QFile::exists(ini()) && m_ttedit->calls().isEmpty());
}

void TestForm1Settings::values_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("key");
    QTest::addColumn<QVariant>("stored"); // the user's store's entry, else the others' value
    QTest::addColumn<QVariant>("expected");
    // The user's store has 14 dots across.
    const auto pinned = [](const char* name, const QByteArray& line, Key key, QVariant expected) {
        QTest::newRow(name) << "; pinned\n[POINTILLO]\n" + line + "\n"
                            << int(key) << QVariant() << expected;
    };
    pinned("marker", "X=*", Key::X, 14);
    pinned("marker in front", "X=*16", Key::X, 14);
    pinned("leading blank", "X= 16", Key::X, 16);
    pinned("letters after", "X=16abc", Key::X, 16);
    pinned("hexadecimal", "X=&H10", Key::X, 16);
    pinned("blanks and tabs inside", "X=1 \t6", Key::X, 16);
    pinned("half to the even 16", "X=16.5", Key::X, 16);
    pinned("half to the even 18", "X=17.5", Key::X, 18);
    pinned("names in other case", "x=16", Key::X, 16);
    pinned("empty number is 0, held to 3", "X=", Key::X, 3);
    pinned("wider than 32", "X=40", Key::X, 32);
    pinned("size 0", "S=0", Key::S, 1);
    pinned("check value 7", "Square=7", Key::Square, 1);
    pinned("check not a number", "RefChar=yes", Key::RefChar, 0);
    pinned("code beyond 16 bits", "EndChar=1E9", Key::EndChar, 0xFFFF);
    pinned("the face alone", "RefFace=Liberation Mono", Key::RefFace, "Liberation Mono");
    pinned("empty text", "LSB=", Key::LSB, QString());
    pinned("text cut to 127 bytes", "RefFace=" + QByteArray(200, 'a'), Key::RefFace,
           QString(127, u'a'));
    pinned("text cut before a character", "BufFileName=" + QString(70, u'あ').toUtf8(),
           Key::BufFileName, QString(42, u'あ'));
    pinned("text to its zero byte", QByteArray("LSB=12\0 34", 10), Key::LSB, "12");
    QTest::newRow("UTF-16") << utf16("[POINTILLO]\r\nRefFace=Noto Sans 日本\r\n")
                            << int(Key::RefFace) << QVariant() << QVariant("Noto Sans 日本");
    QTest::newRow("first of two sections") << QByteArray("[pointillo]\nX=16\n[POINTILLO]\nX=20\n")
                                           << int(Key::X) << QVariant() << QVariant(16);
    const auto stored = [](const char* name, Key key, QVariant value, QVariant expected) {
        QTest::newRow(name) << QByteArray() << int(key) << value << expected;
    };
    stored("user's store: not a number", Key::X, "16abc", 12);
    stored("user's store: half to the even", Key::X, "16.5", 16);
    stored("user's store: wider than 32", Key::X, "40", 32);
    stored("user's store: check value 7", Key::SetSB, "7", 1);
    stored("user's store: a text with a comma, written by hand", Key::RefFace,
           QStringList{"Noto Sans", "Bold"}, "Noto Sans, Bold");
}

void TestForm1Settings::values()
{
    QFETCH(QByteArray, file);
    QFETCH(int, key);
    QFETCH(QVariant, stored);
    QFETCH(QVariant, expected);
    storeForUser(others);
    if (stored.isValid())
        SettingsTable::openUserStore()->setValue(SettingsTable::name(Key(key)), stored);
    if (!file.isEmpty())
        put(ini(), file);
    m_form->Form_Load();
    // That key alone as the row says; all the others from the user's store.
    QVariantList values = others;
    values[key] = expected;
    QCOMPARE(shown(*m_form), values);
}

void TestForm1Settings::savedComesBack()
{
    Form1& f = *m_form;
    // The user's own lines and sections stay, CR LF line ends included.
    put(ini(), "; mine\r\n[Other]\r\nX=1\r\n[pointillo]\r\nx=5\r\nMine=1\r\n");
    storeForUser(others);
    f.mnuloadsetting->trigger();
    QCOMPARE(f.SliderDotX->value(), 5);
    f.SliderDotX->setValue(14);
    f.mnusavesetting->trigger();
    QCOMPARE(bytesOf(ini()),
             QByteArray("; mine\r\n[Other]\r\nX=1\r\n[pointillo]\r\nX= 14\r\nMine=1\r\n"
                        "Y= 25\r\nS= 57\r\nChar= 65\r\nSquare= 0\r\nRefChar= 0\r\n"
                        "RefFace=DejaVu Serif\r\nSetSB= 1\r\nCharTbl= 0\r\n"
                        "LSB=-3\r\nRSB=7.5\r\nAutoSave= 0\r\n"
                        "BufFileName=glyphs/mine.bmp\r\nStartChar= 48\r\n"
                        "EndChar= 57\r\n"));
    QCOMPARE(SettingsTable::openUserStore()->value("Char"), QVariant("65"));
    // The steps after the keys ran: the size label, the narrow window, the side bearings.
    QCOMPARE(f.LabelSize->text(), QStringLiteral("57%"));
    QCOMPARE(f.width(), Form1::EditorWidth);
    QVERIFY(f.TextLSB->isEnabled());

    // The reset writes nothing; a load, by the menu or at the next start, brings every value
    // back, from either store alone.
    const QByteArray saved = bytesOf(ini());
    f.mnudefault->trigger();
    QCOMPARE(shown(f), defaults);
    QCOMPARE(bytesOf(ini()), saved);
    f.mnuloadsetting->trigger();
    QCOMPARE(shown(f), others);
    QVERIFY(QFile::remove(ini()));
    QCOMPARE(shown(loaded()), others);
    storeForUser(defaults);
    put(ini(), saved);
    QCOMPARE(shown(loaded()), others);

    // A text the file cannot give back as it is stays the user's store's: the file says "*".
    const QString longName = "folder/" + QString(150, u'n');
    m_form->TextBufFileName->setText(longName);
    m_form->TextLSB->setText(QStringLiteral(" 5 "));
    m_form->SaveSettings();
    QVERIFY(bytesOf(ini()).contains("\nLSB=*\r\nRSB=7.5\r\nAutoSave= 0\r\nBufFileName=*\r\n"));
    QCOMPARE(loaded().TextBufFileName->text(), longName);
    QCOMPARE(m_form->TextLSB->text(), QStringLiteral(" 5 "));
    // 127 bytes are the file's, 128 the user's store's.
    QCOMPARE(SettingsTable::profileText(Key::RefFace, QString(127, u'n')), QString(127, u'n'));
    QCOMPARE(SettingsTable::profileText(Key::RefFace, QString(128, u'n')), SettingsTable::notSet());

    // The preview's text and placement go with them, in the user's store alone.
    m_form->mnupreview->trigger();
    PreviewWindow& preview = *m_form->preview();
    preview.TextSample->setText(QStringLiteral("Hamburgefonstiv"));
    preview.move(40, 30);
    const QByteArray placement = preview.saveGeometry();
    m_form->mnusavesetting->trigger();
    QVERIFY(m_form->said().contains(ini()));
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
    // With a Japanese font both code boxes' handling runs on the load's redraws; the loaded
    // code stands, and the server hears nothing of it.
    createForm(FakeTTEdit::Kind::Japanese);
    showAtOrigin(*m_form);
    m_form->Form_Activate();
    QVariantList values = others;
    values[Key::Char] = 0x82A0;
    storeForUser(values);
    m_ttedit->clearCalls();
    m_form->mnuloadsetting->trigger();
    QCOMPARE(shown(*m_form), values);
    QCOMPARE(m_form->TextCode->text(), QStringLiteral("82A0"));
    QCOMPARE(m_ttedit->callNames(), QStringList());
}

void TestForm1Settings::storesThatFail()
{
    // The user's store's folder is a file, the settings file's folder is missing: the start
    // gets the defaults, the save passes over both, and nobody is told.
    const QString config = QDir::home().filePath(QStringLiteral(".config/marrowby"));
    QDir(config).removeRecursively();
    put(config, "not a folder");
    m_form->iniFileName = m_workDir->filePath(QStringLiteral("none/ptl_settings.ini"));
    m_form->Form_Load();
    QCOMPARE(shown(*m_form), defaults);
    m_form->SliderDotX->setValue(30);
    // The status bar says so rather than claim a save.
    m_form->mnusavesetting->trigger();
    QCOMPARE(m_form->said(), QStringLiteral("設定を書き込める保存先がありませんでした"));
    QCOMPARE(bytesOf(config), QByteArray("not a folder"));
    QCOMPARE(bytesOf(ini()), QByteArray("(none)"));
    QVERIFY(m_prompt.shown().isEmpty());
    QVERIFY(QFile::remove(config));

    // A file larger than any settings file is neither read nor replaced.
    const QByteArray large = "[POINTILLO]\nX=16\n" + QByteArray(ProfileFile::MaxFileSize, ';');
    m_form->iniFileName = m_workDir->filePath(QStringLiteral("ptl_settings.ini"));
    put(ini(), large);
    m_form->LoadSettings();
    QVERIFY(m_form->SliderDotX->value() != 16);
    m_form->SaveSettings();
    QCOMPARE(bytesOf(ini()), large);
    // Nor is a file in UTF-16, whose settings it pins.
    put(ini(), utf16("[POINTILLO]\r\nX=16\r\n"));
    m_form->SaveSettings();
    QCOMPARE(bytesOf(ini()), utf16("[POINTILLO]\r\nX=16\r\n"));
}

void TestForm1Settings::fileWritten_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("no final line break")
        << QByteArray("[Other]\nX=1") << QByteArray("[Other]\nX=1\n[POINTILLO]\nX= 12\n");
    QTest::newRow("blank lines after the section")
        << QByteArray("[POINTILLO]\nY=1\n\n[Other]\n")
        << QByteArray("[POINTILLO]\nY=1\nX= 12\n\n[Other]\n");
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF[POINTILLO]\n X = 5\n")
                                     << QByteArray("\xEF\xBB\xBF[POINTILLO]\nX= 12\n");
}

void TestForm1Settings::fileWritten()
{
    QFETCH(QByteArray, before);
    put(ini(), before);
    ProfileFile file(ini());
    file.setValue(u"POINTILLO", u"X", QStringLiteral(" 12"));
    QVERIFY(file.save());
    QTEST(bytesOf(ini()), "after");
    QCOMPARE(QDir().entryList(QDir::Files), QStringList{"ptl_settings.ini"});
}

QTEST_MAIN(TestForm1Settings)
#include "tst_form1settings.moc"
