#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

// An INI ("profile") file with the rules a user who edits one by hand knows: "[section]"
// lines, "key=value" lines below them, section and key names matched without regard to case,
// blanks around names and values not counting, the first match winning.  Values are UTF-8
// text.  The whole file is read once; setValue changes the copy in memory and save() writes
// it back, so that every line it did not set (comments, other sections, other keys, odd
// lines, the kind of line ends) stays byte for byte as it was.  A file in UTF-16 (with its byte
// order mark) is read, and left as it is: its settings stay pinned, as a read-only file's do.
class ProfileFile
{
public:
    // A value is read into a buffer of this many bytes: at most one less come back.
    static constexpr int BufferSize = 128;
    // A larger file is not read, nor overwritten: no settings file is that long.
    static constexpr qint64 MaxFileSize = 1 << 20;

    // Reads fileName.  A missing, unreadable or oversized file reads as empty; an empty name
    // is no file at all (nothing is read or written).
    explicit ProfileFile(const QString& fileName);

    // The value of key in section, cut to BufferSize - 1 bytes (never inside a character) and
    // at a zero byte; defaultText when the section or the key is not there.  An empty value is
    // a value.
    QString value(QStringView section, QStringView key, const QString& defaultText) const;

    // Sets key in section to text: the key's line is rewritten, or added at the end of the
    // section, or the section is added at the end of the file with the line.  Line breaks in
    // text become blanks, so that a value stays one line.
    void setValue(QStringView section, QStringView key, const QString& text);

    // Writes the file, created when missing, through a temporary file renamed over it, so
    // that a failure leaves the former file whole.  True when the file holds the values set;
    // false, leaving it as it was, when it cannot be written, is not writable, is in UTF-16,
    // or could not be read (it is never replaced by what little was understood of it).
    bool save();

    // The file's bytes as save() writes them.
    QByteArray contents() const;

private:
    struct Found
    {
        qsizetype section = -1; // the section's line
        qsizetype key = -1;     // the key's line
        qsizetype end = -1;     // the section's last line that is not blank, plus one
    };
    Found find(QStringView section, QStringView key) const;
    QByteArray lineEnd() const;

    QString m_fileName;
    bool m_usable = true;   // the file is missing, or was read whole
    bool m_existed = false; // the file was there when read
    bool m_foreign = false; // the file is in UTF-16: read, never written
    QList<QByteArray> m_lines;
    bool m_crlf = false;       // new lines end in CR LF, as the file's own do
    bool m_finalBreak = false; // the text ends with a line break
    QByteArray m_original;
};
