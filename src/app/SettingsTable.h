#pragma once

#include <QString>
#include <QVariant>
#include <array>
#include <memory>
#include <optional>

class QSettings;

// The program's remembered settings: fifteen keys, each a number, a check value or a text,
// kept in two stores, the user's own (QSettings) and the settings file beside the program,
// which wins on loading so that it can pin them.  Loading, saving and resetting go through the
// keys in this order.  A value is an int for number and check keys, a QString for text keys.
class SettingsTable
{
public:
    enum Key {
        X, // glyph width in dots
        Y, // glyph height in dots
        S, // size of an exported dot, percent of the pitch
        Char,
        Square,
        RefChar,
        RefFace,
        SetSB,
        CharTbl,
        LSB,
        RSB,
        AutoSave,
        BufFileName,
        StartChar,
        EndChar,
    };
    static constexpr int KeyCount = EndChar + 1;
    static constexpr std::array<Key, KeyCount> keys{
        X,       Y,   S,   Char,     Square,      RefChar,   RefFace, SetSB,
        CharTbl, LSB, RSB, AutoSave, BufFileName, StartChar, EndChar};

    enum class Kind { Number, Check, Text };

    // The section (the group of the user's store) and the key's name in both stores.
    static QString section();
    static QString name(Key key);
    static Kind kind(Key key);
    static QVariant defaultValue(Key key);
    // The range a number or check value is held to: the control's own for the sliders, the
    // character codes for the codes, 0 and 1 for a check.
    static int minimum(Key key);
    static int maximum(Key key);

    // The value of the user's store's text, absent when the entry is not there: the default
    // then, and for a number or check key whose text is not a number.  Numbers are rounded
    // half to even and held to the key's range.
    static QVariant fromUserText(Key key, const std::optional<QString>& text);
    // The value of the settings file's text: nothing when it begins with the "not set" marker
    // "*"; for a number or check key the text's leading number (0 without one), rounded half
    // to even and held to the key's range.
    static std::optional<QVariant> fromProfileText(Key key, const QString& text);
    // What the stores hold for value: decimal numbers, in the file with a blank in front of
    // one that is not negative; texts as they stand.  A text longer than the file's values
    // can be is written to the file as "*", so that the user's store's whole text stands.
    static QString userText(Key key, const QVariant& value);
    static QString profileText(Key key, const QVariant& value);

    // Kept in the user's store alone, after the fifteen: the preview window's sample text and
    // its placement (Qt's geometry bytes), and whether the grid shows the font's baseline.
    static QString previewTextKey() { return QStringLiteral("PreviewText"); }
    static QString previewGeometryKey() { return QStringLiteral("PreviewGeometry"); }
    static QString baselineKey() { return QStringLiteral("ShowBaseline"); }
    // Sets key in the user's store unless it holds value already: a store with nothing new is
    // not rewritten.
    static void setUserValue(QSettings& user, const QString& key, const QVariant& value);

    // The marker that leaves a key of the settings file to the user's store.
    static QString notSet() { return QStringLiteral("*"); }

    // The user's store (organisation and application "marrowby"), at the section.
    static std::unique_ptr<QSettings> openUserStore();
};
