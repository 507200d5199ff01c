#pragma once

#include <QString>
#include <QtGlobal>
#include <map>
#include <vector>

// What a font is called, as a user gives it: the family ("MyPixel"), the style within the
// family ("Regular", "Bold", "Light"), the version text and the copyright notice.
struct FontNames
{
    QString family;
    QString style = QStringLiteral("Regular");
    QString version = QStringLiteral("Version 1.000");
    QString copyright;

    bool operator==(const FontNames&) const = default;
};

// How font names go into a name table, and the fields of other tables that must agree with
// them.  The four styles every application understands (Regular, Bold, Italic, Bold Italic)
// are the style name (ID 2) of the family (ID 1); any other style makes a family of its own
// for older applications ("MyPixel Light", Regular) and is kept as the typographic family and
// subfamily (IDs 16 and 17).  The full name (ID 4) is the family and the style, without
// "Regular"; the PostScript name (ID 6) is "Family-Style" without spaces; the unique ID
// (ID 3) joins the version, the vendor and the PostScript name.
class FontNaming
{
public:
    // Longest text of each of the user's names that a font file keeps.
    static constexpr int MaxLength = 255;

    // The names with controls made blanks, blanks trimmed, empty ones replaced by their default
    // (familyDefault for the family), each cut to MaxLength UTF-16 units (never inside a
    // surrogate pair), and a style of the four in its usual spelling.
    static FontNames normalized(FontNames names, const QString& familyDefault);

    // The records of the name table, by ascending name ID: 0 (when there is a copyright), 1
    // to 6, and 16 and 17 for a style beyond the four.
    static std::map<int, QString> records(const FontNames& names);

    // The name table's records read back as the names a user gave; the typographic family
    // and subfamily take precedence over the legacy ones.
    static FontNames fromRecords(const std::map<int, QString>& records);

    static QString fullName(const FontNames& names);
    // At most 63 printable ASCII characters, none of [](){}<>/% nor a space.  A family with
    // no such character at all is "Pointillo" and a hash of the family, so that two families
    // of other scripts do not share it.
    static QString postScriptName(const FontNames& names);

    // OS/2 fsSelection, head macStyle and OS/2 usWeightClass for the style.
    static quint16 fsSelection(const FontNames& names);
    static quint16 macStyle(const FontNames& names);
    static quint16 weightClass(const FontNames& names);
    // head fontRevision (16.16 fixed point) of the version's first number ("Version 1.5" is
    // 1.5, "1.999996" rounds to 2.0), 1.0 when it has none; at most 0x7FFFFFFF, since the field
    // is signed.
    static quint32 fontRevision(const QString& version);
};
