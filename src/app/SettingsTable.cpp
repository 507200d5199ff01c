#include "app/SettingsTable.h"

#include "app/ProfileFile.h"
#include "codes/NumericText.h"

#include <QSettings>
#include <algorithm>
#include <cmath>

namespace {

struct Entry
{
    const char* name;
    SettingsTable::Kind kind;
    int defaultNumber; // number and check keys
    const char* defaultText;
    int minimum, maximum;
};

constexpr int LastCode = 0xFFFF;

using K = SettingsTable::Kind;
constexpr std::array<Entry, SettingsTable::KeyCount> entries{{
    {"X", K::Number, 12, nullptr, 3, 32},
    {"Y", K::Number, 20, nullptr, 3, 32},
    {"S", K::Number, 100, nullptr, 1, 100},
    {"Char", K::Number, 33, nullptr, 0, LastCode},
    {"Square", K::Check, 1, nullptr, 0, 1},
    {"RefChar", K::Check, 1, nullptr, 0, 1},
    {"RefFace", K::Text, 0, "Arial", 0, 0},
    {"SetSB", K::Check, 0, nullptr, 0, 1},
    {"CharTbl", K::Check, 1, nullptr, 0, 1},
    {"LSB", K::Text, 0, "20", 0, 0},
    {"RSB", K::Text, 0, "20", 0, 0},
    {"AutoSave", K::Check, 1, nullptr, 0, 1},
    {"BufFileName", K::Text, 0, "ptl_buf.bmp", 0, 0},
    {"StartChar", K::Number, 32, nullptr, 0, LastCode},
    {"EndChar", K::Number, 126, nullptr, 0, LastCode},
}};

const Entry& entry(SettingsTable::Key key)
{
    return entries[size_t(key)];
}

// Rounded half to even and held to the key's range; infinities go to the nearer end.
int held(SettingsTable::Key key, double v)
{
    const double r = NumericText::roundHalfEven(v);
    return int(std::clamp(r, double(entry(key).minimum), double(entry(key).maximum)));
}

} // namespace

QString SettingsTable::section()
{
    return QStringLiteral("POINTILLO");
}

QString SettingsTable::name(Key key)
{
    return QLatin1String(entry(key).name);
}

SettingsTable::Kind SettingsTable::kind(Key key)
{
    return entry(key).kind;
}

QVariant SettingsTable::defaultValue(Key key)
{
    const Entry& e = entry(key);
    return e.kind == Kind::Text ? QVariant(QString::fromLatin1(e.defaultText))
                                : QVariant(e.defaultNumber);
}

int SettingsTable::minimum(Key key)
{
    return entry(key).minimum;
}

int SettingsTable::maximum(Key key)
{
    return entry(key).maximum;
}

QVariant SettingsTable::fromUserText(Key key, const std::optional<QString>& text)
{
    if (!text)
        return defaultValue(key);
    if (kind(key) == Kind::Text)
        return *text;
    // The store holds what the program wrote, plain decimal; anything else is no number.
    bool ok = false;
    const double v = text->trimmed().toDouble(&ok);
    if (!ok || std::isnan(v))
        return defaultValue(key);
    return held(key, v);
}

std::optional<QVariant> SettingsTable::fromProfileText(Key key, const QString& text)
{
    if (text.startsWith(notSet()))
        return std::nullopt;
    if (kind(key) == Kind::Text)
        return text;
    return held(key, NumericText::value(text));
}

QString SettingsTable::userText(Key key, const QVariant& value)
{
    return kind(key) == Kind::Text ? value.toString() : QString::number(value.toInt());
}

QString SettingsTable::profileText(Key key, const QVariant& value)
{
    if (kind(key) != Kind::Text) {
        const int n = value.toInt();
        return n < 0 ? QString::number(n) : u' ' + QString::number(n);
    }
    // The file would give back another text: cut, without its outer blanks, or cut in two.
    const QString text = value.toString();
    if (text.toUtf8().size() >= ProfileFile::BufferSize || text != text.trimmed() ||
        text.contains(u'\n') || text.contains(u'\r') || text.contains(QChar(0)))
        return notSet();
    return text;
}

void SettingsTable::setUserValue(QSettings& user, const QString& key, const QVariant& value)
{
    if (user.value(key) != value)
        user.setValue(key, value);
}

std::unique_ptr<QSettings> SettingsTable::openUserStore()
{
    auto store =
        std::make_unique<QSettings>(QStringLiteral("marrowby"), QStringLiteral("marrowby"));
    store->beginGroup(section());
    return store;
}
