#include "codes/FontRegistry.h"

#include "codes/Cp932.h"
#include "fontd/FontCodes.h"

namespace {

// The Shift_JIS code of a JIS X 0208 code point; encoding 1 sets the high bit of both bytes.
int shiftJisOf(quint32 point)
{
    if (point > 0xFFFF)
        return -1;
    return Cp932::fromJis(int((point & 0x8080) == 0x8080 ? point & 0x7F7F : point));
}

} // namespace

std::optional<FontRegistry> FontRegistry::fromXlfd(QByteArrayView registry, QByteArrayView encoding)
{
    const QByteArray r = registry.toByteArray().toUpper();
    const QByteArray e = encoding.toByteArray().toUpper();
    const QString name = QString::fromLatin1(r + '-' + e);
    if (r == "ISO10646")
        return FontRegistry(Scheme::Unicode, name);
    if (r == "ISO8859" && e == "1")
        return FontRegistry(Scheme::Latin1, name);
    // ASCII: the first 128 code points of Unicode.
    if (r == "ISO646.1991" && e == "IRV")
        return FontRegistry(Scheme::Unicode, name);
    if (r == "JISX0201.1976")
        return FontRegistry(Scheme::Jis0201, name);
    if (r == "JISX0208.1983" || r == "JISX0208.1990" || r == "JISX0208.1978" ||
        r == "JISC6226.1978")
        return FontRegistry(Scheme::Jis0208, name);
    return std::nullopt;
}

FontRegistry FontRegistry::bytes()
{
    return FontRegistry(Scheme::Bytes, QStringLiteral("none"));
}

FontRegistry FontRegistry::unicode()
{
    return FontRegistry(Scheme::Unicode, QStringLiteral("Unicode"));
}

FontRegistry FontRegistry::shiftJis()
{
    return FontRegistry(Scheme::ShiftJis, QStringLiteral("Shift_JIS"));
}

std::optional<FontRegistry::Kind> FontRegistry::impliedKind() const
{
    switch (m_scheme) {
    case Scheme::Latin1:
        return FontDocument::Western;
    case Scheme::Jis0201:
    case Scheme::Jis0208:
    case Scheme::ShiftJis:
        return FontDocument::Japanese;
    case Scheme::Unicode:
    case Scheme::Bytes:
        break;
    }
    return std::nullopt;
}

char32_t FontRegistry::toUnicode(quint32 point) const
{
    switch (m_scheme) {
    case Scheme::Unicode:
        return point <= 0x10FFFF ? char32_t(point) : 0;
    case Scheme::Latin1:
        return point <= 0xFF ? char32_t(point) : 0;
    case Scheme::Jis0201:
        return point <= 0xFF ? Cp932::toUnicode(int(point)) : 0;
    case Scheme::Jis0208:
        return Cp932::toUnicode(shiftJisOf(point));
    case Scheme::ShiftJis:
        return point <= 0xFFFF ? Cp932::toUnicode(int(point)) : 0;
    case Scheme::Bytes:
        break;
    }
    return 0;
}

int FontRegistry::code(Kind kind, quint32 point) const
{
    const auto held = [kind](int code) { return FontCodes::holds(kind, code) ? code : -1; };
    if (m_scheme == Scheme::Bytes)
        return point >= 0x20 && point <= 0xFF ? held(int(point)) : -1;
    if (impliedKind() == kind && kind == FontDocument::Japanese) {
        if (point > 0xFFFF)
            return -1;
        if (m_scheme == Scheme::Jis0208)
            return held(shiftJisOf(point));
        if (m_scheme == Scheme::Jis0201)
            return point >= 0x20 && point <= 0xFF ? held(int(point)) : -1;
        return held(int(point));
    }
    const char32_t unicode = toUnicode(point);
    return unicode == 0 ? -1 : FontCodes::fromUnicode(kind, unicode);
}
