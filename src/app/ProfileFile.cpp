#include "app/ProfileFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <optional>

namespace {

// A line without its line end and the blanks around it; the first line also without the
// byte order mark that some editors put in front of a UTF-8 file.
QByteArray stripped(const QByteArray& line, bool first)
{
    QByteArray s = line.trimmed();
    if (first && s.startsWith("\xEF\xBB\xBF"))
        s = s.mid(3).trimmed();
    return s;
}

bool sectionLine(const QByteArray& s, QByteArray* name)
{
    if (!s.startsWith('['))
        return false;
    const qsizetype close = s.indexOf(']');
    *name = s.mid(1, close < 0 ? -1 : close - 1).trimmed();
    return true;
}

bool keyLine(const QByteArray& s, QByteArray* key, QByteArray* value)
{
    const qsizetype equals = s.indexOf('=');
    if (equals < 0)
        return false;
    *key = s.left(equals).trimmed();
    if (value)
        *value = s.mid(equals + 1).trimmed();
    return true;
}

bool sameName(const QByteArray& a, QStringView b)
{
    return a.compare(b.toUtf8(), Qt::CaseInsensitive) == 0;
}

// The text of a file in UTF-16, told by its byte order mark, as UTF-8; nothing for a file that
// is not UTF-16.  One that is no whole UTF-16 text gives an empty text with error set.
std::optional<QByteArray> utf16Text(const QByteArray& data, bool* error)
{
    if (!data.startsWith("\xFF\xFE") && !data.startsWith("\xFE\xFF"))
        return std::nullopt;
    QStringDecoder decode(data.startsWith("\xFF") ? QStringConverter::Utf16LE
                                                  : QStringConverter::Utf16BE);
    const QString text = decode(data);
    *error = decode.hasError();
    return *error ? QByteArray() : text.toUtf8();
}

// At most max bytes of UTF-8, never ending inside a character.
QByteArray cutUtf8(QByteArray text, qsizetype max)
{
    if (text.size() <= max)
        return text;
    qsizetype n = max;
    while (n > 0 && (uchar(text[n]) & 0xC0) == 0x80)
        --n;
    text.truncate(n);
    return text;
}

} // namespace

ProfileFile::ProfileFile(const QString& fileName)
    : m_fileName(fileName)
{
    if (fileName.isEmpty()) {
        m_usable = false;
        return;
    }
    const QFileInfo info(fileName);
    m_existed = info.exists();
    if (!m_existed)
        return;
    // Not a device or a pipe, which would block the read; not a size to allocate blindly.
    QFile file(fileName);
    if (!info.isFile() || info.size() > MaxFileSize || !file.open(QIODevice::ReadOnly)) {
        m_usable = false;
        return;
    }
    m_original = file.read(MaxFileSize + 1);
    if (m_original.size() > MaxFileSize || file.error() != QFileDevice::NoError) {
        m_usable = false;
        return;
    }
    // A file in UTF-16, as some Windows editors save one, is read as its text and never
    // written: lines of UTF-8 added to it would spoil it.
    bool broken = false;
    const std::optional<QByteArray> wide = utf16Text(m_original, &broken);
    m_foreign = wide.has_value();
    if (broken) {
        m_usable = false;
        return;
    }
    const QByteArray& text = wide ? *wide : m_original;
    m_finalBreak = text.endsWith('\n');
    const QByteArray body = m_finalBreak ? text.chopped(1) : text;
    if (!body.isEmpty() || m_finalBreak)
        m_lines = body.split('\n');
    m_crlf = !m_lines.isEmpty() && m_lines.first().endsWith('\r');
}

ProfileFile::Found ProfileFile::find(QStringView section, QStringView key) const
{
    Found found;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QByteArray s = stripped(m_lines[i], i == 0);
        QByteArray name;
        if (sectionLine(s, &name)) {
            // Only the first section of the name counts.
            if (found.section >= 0)
                break;
            if (sameName(name, section)) {
                found.section = i;
                found.end = i + 1;
            }
            continue;
        }
        if (found.section < 0 || s.isEmpty())
            continue;
        found.end = i + 1;
        if (found.key < 0 && keyLine(s, &name, nullptr) && sameName(name, key))
            found.key = i;
    }
    return found;
}

QString ProfileFile::value(QStringView section, QStringView key, const QString& defaultText) const
{
    if (!m_usable)
        return defaultText;
    const Found found = find(section, key);
    if (found.key < 0)
        return defaultText;
    QByteArray name, value;
    keyLine(stripped(m_lines[found.key], found.key == 0), &name, &value);
    const qsizetype zero = value.indexOf('\0');
    if (zero >= 0)
        value.truncate(zero);
    return QString::fromUtf8(cutUtf8(value, BufferSize - 1));
}

QByteArray ProfileFile::lineEnd() const
{
    return m_crlf ? QByteArray("\r") : QByteArray();
}

void ProfileFile::setValue(QStringView section, QStringView key, const QString& text)
{
    if (!m_usable)
        return;
    QByteArray value = text.toUtf8();
    value.replace('\r', ' ').replace('\n', ' ');
    const QByteArray line = key.toUtf8() + '=' + value + lineEnd();
    const Found found = find(section, key);
    if (found.key >= 0) {
        m_lines[found.key] = line;
        return;
    }
    qsizetype at = found.end;
    if (found.section < 0) {
        at = m_lines.size();
        m_lines.append('[' + section.toUtf8() + ']' + lineEnd());
        ++at;
    }
    // A line added after the last one ends with a break, as every line of a new file does.
    if (at == m_lines.size())
        m_finalBreak = true;
    m_lines.insert(at, line);
}

QByteArray ProfileFile::contents() const
{
    QByteArray text = m_lines.join('\n');
    if (m_finalBreak)
        text += '\n';
    return text;
}

bool ProfileFile::save()
{
    if (!m_usable || m_foreign)
        return false;
    const QByteArray text = contents();
    if (m_existed && text == m_original)
        return true;
    // A file the user made read-only is pinned: it is not replaced.
    if (m_existed && !QFileInfo(m_fileName).isWritable())
        return false;
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        return false;
    m_original = text;
    m_existed = true;
    return true;
}
