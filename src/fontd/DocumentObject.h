#pragma once

#include "fontd/FontDocument.h"

#include <QDBusContext>
#include <QList>
#include <QObject>
#include <QString>
#include <memory>

// One open font as the D-Bus object /Document/<n> (interface TTEdit.Document).  The
// lower-case and capitalised members are the D-Bus ones, called through the generated adaptor;
// a failing one answers a D-Bus error and leaves the font as it was.  The window uses the C++
// members below them.
class DocumentObject : public QObject, protected QDBusContext
{
    Q_OBJECT

public:
    DocumentObject(std::unique_ptr<FontDocument> document, const QString& objectPath,
                   QObject* parent = nullptr);
    ~DocumentObject() override;

    QString objectPath() const { return m_objectPath; }
    const FontDocument& document() const { return *m_document; }

    // The file's name without its folder, or "Untitled" while the font has no file.
    QString displayName() const;

    // Makes code current when the font holds it; false and no change otherwise.
    bool selectCode(int code);
    bool saveFile(QString* error = nullptr);
    bool saveFileAs(const QString& path, QString* error = nullptr);

    // D-Bus members of TTEdit.Document.
    void setcode(short unused, int code, bool flag);
    void setcode(short unused, short code, bool flag);
    short getcode(short unused, bool flag);
    void viewnextcode();
    void viewpreviouscode();
    void selectall();
    void Delete();
    void ImportBmpfile(const QString& path);
    void SetLeftRightSidebearing(short lsb, short rsb, bool flag);
    bool saved();
    void save();
    void SaveAs(const QString& path);
    QString FileName();
    QList<int> GlyphCodes();
    void Close();

signals:
    // A glyph, the saved flag or the file name changed.
    void changed();
    void currentCodeChanged(int code);
    void closeRequested(DocumentObject* document);

private:
    void replyError(const char* name, const QString& message);

    std::unique_ptr<FontDocument> m_document;
    QString m_objectPath;
};
