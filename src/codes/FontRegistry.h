#pragma once

#include "fontd/FontDocument.h"

#include <QByteArrayView>
#include <QString>
#include <optional>

// What the code points of an outside font are, and which code of a font of this program each
// becomes.  An X11 bitmap font names its code points by its registry and encoding
// (CHARSET_REGISTRY, CHARSET_ENCODING), an outline font by the character map it carries.
//
// A code point becomes a code of the kind the registry implies as it stands (a JIS X 0208 code
// as the Shift_JIS code of the same place); a code of the other kind through its Unicode value,
// as the font server maps codes.  A code point with no code in the kind has none: nothing is
// guessed.
class FontRegistry
{
public:
    using Kind = FontDocument::Kind;

    // The registries read: ISO10646 (Unicode), ISO8859-1 (Latin-1), ISO646.1991-IRV (ASCII),
    // JISX0201.1976 (single-byte codes), JISX0208.1983, JISX0208.1990 and their forerunner
    // JISC6226.1978 (JIS codes, also as the high-bit form of encoding 1).  Names are matched
    // without regard to case.  Returns nothing for any other registry.
    static std::optional<FontRegistry> fromXlfd(QByteArrayView registry, QByteArrayView encoding);
    // A bitmap font without a registry: its code points are single-byte codes as they stand.
    static FontRegistry bytes();
    // An outline font's Unicode character map.
    static FontRegistry unicode();
    // An outline font's Shift_JIS character map (platform 3, encoding 2).
    static FontRegistry shiftJis();

    // "ISO10646-1", "JISX0208.1990-0", "Unicode", "Shift_JIS" or "none".
    QString name() const { return m_name; }

    // The kind whose codes the code points are: Japanese for the JIS registries and Shift_JIS,
    // Western for ISO8859-1; none for Unicode, ASCII and a font without a registry, whose
    // kind the caller chooses.
    std::optional<Kind> impliedKind() const;

    // The code of a font of kind that point stands for, or -1 when kind holds none for it.
    int code(Kind kind, quint32 point) const;

private:
    enum class Scheme { Unicode, Latin1, Jis0201, Jis0208, ShiftJis, Bytes };

    FontRegistry(Scheme scheme, const QString& name)
        : m_scheme(scheme)
        , m_name(name)
    {}

    // The Unicode value of point, 0 for none.
    char32_t toUnicode(quint32 point) const;

    Scheme m_scheme;
    QString m_name;
};
