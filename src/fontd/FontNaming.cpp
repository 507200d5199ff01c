#include "fontd/FontNaming.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <algorithm>
#include <array>

namespace {

// The four styles with their fsSelection bits (ITALIC 0x01, BOLD 0x20, REGULAR 0x40) and
// macStyle bits (bold 1, italic 2).
struct BasicStyle
{
    QStringView name;
    quint16 fsSelection;
    quint16 macStyle;
};
constexpr std::array<BasicStyle, 4> basicStyles = {{
    {u"Regular", 0x0040, 0},
    {u"Bold", 0x0020, 1},
    {u"Italic", 0x0001, 2},
    {u"Bold Italic", 0x0021, 3},
}};

const BasicStyle* basicStyle(const QString& style)
{
    for (const BasicStyle& s : basicStyles) {
        if (style.compare(s.name, Qt::CaseInsensitive) == 0)
            return &s;
    }
    return nullptr;
}

QString postScriptPart(const QString& text)
{
    QString part;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u > 32 && u < 127 && !QStringView(u"[](){}<>/%").contains(c))
            part += c;
    }
    return part;
}

} // namespace

FontNames FontNaming::normalized(FontNames names, const QString& familyDefault)
{
    const FontNames defaults;
    const auto tidy = [](QString& text, const QString& fallback) {
        // Line breaks and other controls (a file name may hold them) become blanks.
        for (QChar& c : text) {
            if (c.category() == QChar::Other_Control)
                c = u' ';
        }
        text = text.trimmed();
        if (text.isEmpty())
            text = fallback;
        // A character beyond the BMP that the cut would halve goes whole.
        if (text.size() > MaxLength)
            text.truncate(text.at(MaxLength - 1).isHighSurrogate() ? MaxLength - 1 : MaxLength);
    };
    tidy(names.family, familyDefault);
    tidy(names.style, defaults.style);
    tidy(names.version, defaults.version);
    tidy(names.copyright, QString());
    if (const BasicStyle* s = basicStyle(names.style))
        names.style = s->name.toString();
    return names;
}

QString FontNaming::fullName(const FontNames& names)
{
    if (names.style == u"Regular")
        return names.family;
    return names.family + u' ' + names.style;
}

QString FontNaming::postScriptName(const FontNames& names)
{
    QString family = postScriptPart(names.family);
    if (family.isEmpty()) {
        const QByteArray hash =
            QCryptographicHash::hash(names.family.toUtf8(), QCryptographicHash::Sha1);
        family = QStringLiteral("Pointillo") + QString::fromLatin1(hash.toHex().left(8));
    }
    const QString style = postScriptPart(names.style).left(31);
    if (style.isEmpty())
        return family.left(63);
    return family.left(63 - 1 - style.size()) + u'-' + style;
}

std::map<int, QString> FontNaming::records(const FontNames& names)
{
    std::map<int, QString> r;
    if (!names.copyright.isEmpty())
        r[0] = names.copyright;
    const QString postScript = postScriptName(names);
    if (basicStyle(names.style)) {
        r[1] = names.family;
        r[2] = names.style;
    } else {
        r[1] = fullName(names);
        r[2] = QStringLiteral("Regular");
        r[16] = names.family;
        r[17] = names.style;
    }
    r[3] = QStringLiteral("%1;PTLO;%2")
               .arg(QString::number(fontRevision(names.version) / 65536.0, 'f', 3), postScript);
    r[4] = fullName(names);
    r[5] = names.version;
    r[6] = postScript;
    return r;
}

FontNames FontNaming::fromRecords(const std::map<int, QString>& records)
{
    const auto text = [&records](int id) {
        const auto it = records.find(id);
        return it == records.end() ? QString() : it->second;
    };
    FontNames names;
    names.family = text(16).isEmpty() ? text(1) : text(16);
    names.style = text(17).isEmpty() ? text(2) : text(17);
    names.version = text(5);
    names.copyright = text(0);
    return names;
}

quint16 FontNaming::fsSelection(const FontNames& names)
{
    const BasicStyle* s = basicStyle(names.style);
    return s ? s->fsSelection : basicStyles[0].fsSelection;
}

quint16 FontNaming::macStyle(const FontNames& names)
{
    const BasicStyle* s = basicStyle(names.style);
    return s ? s->macStyle : 0;
}

quint16 FontNaming::weightClass(const FontNames& names)
{
    return macStyle(names) & 1 ? 700 : 400;
}

quint32 FontNaming::fontRevision(const QString& version)
{
    static const QRegularExpression number(QStringLiteral("(\\d{1,5})(?:\\.(\\d+))?"));
    const QRegularExpressionMatch m = number.match(version);
    if (!m.hasMatch())
        return 0x00010000;
    const quint32 major = m.captured(1).toUInt();
    if (major > 32767)
        return 0x00010000;
    // The fraction as written: "1.5" and "1.500" are both one and a half.
    const QString fraction = m.captured(2).left(9);
    const double part = fraction.isEmpty() ? 0.0 : (QStringLiteral("0.") + fraction).toDouble();
    // Rounded to the nearest 1/65536; the carry of 32767.99999 would make the signed field
    // negative, so the top stays at 32767 + 65535/65536.
    return std::min<quint32>((major << 16) + quint32(part * 65536.0 + 0.5), 0x7FFFFFFF);
}
