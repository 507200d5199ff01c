#include "fontd/DocumentObject.h"

#include "DocumentAdaptor.h"
#include "fontd/FontServer.h"
#include "fontd/FontdError.h"

#include <QFileInfo>

DocumentObject::DocumentObject(std::unique_ptr<FontDocument> document, const QString& objectPath,
                               QObject* parent)
    : QObject(parent)
    , m_document(std::move(document))
    , m_objectPath(objectPath)
{
    Q_ASSERT(m_document);
    new DocumentAdaptor(this);
}

DocumentObject::~DocumentObject() = default;

QString DocumentObject::displayName() const
{
    const QString fileName = m_document->fileName();
    return fileName.isEmpty() ? tr("Untitled") : QFileInfo(fileName).fileName();
}

bool DocumentObject::selectCode(int code)
{
    if (code == m_document->currentCode())
        return m_document->holds(code);
    if (!m_document->setCurrentCode(code))
        return false;
    emit currentCodeChanged(code);
    return true;
}

bool DocumentObject::saveFile(QString* error)
{
    const bool ok = m_document->save(error);
    emit changed();
    return ok;
}

bool DocumentObject::saveFileAs(const QString& path, QString* error)
{
    const bool ok = m_document->saveAs(path, error);
    emit changed();
    return ok;
}

void DocumentObject::setcode(short unused, int code, bool flag)
{
    Q_UNUSED(unused)
    Q_UNUSED(flag)
    selectCode(code);
}

void DocumentObject::setcode(short unused, short code, bool flag)
{
    Q_UNUSED(unused)
    Q_UNUSED(flag)
    // A 16-bit caller cannot say 0x8000 and above except as a negative number.
    selectCode(code < 0 ? code + 65536 : code);
}

short DocumentObject::getcode(short unused, bool flag)
{
    Q_UNUSED(unused)
    Q_UNUSED(flag)
    return short(quint16(m_document->currentCode()));
}

void DocumentObject::viewnextcode()
{
    if (m_document->nextCode())
        emit currentCodeChanged(m_document->currentCode());
}

void DocumentObject::viewpreviouscode()
{
    if (m_document->previousCode())
        emit currentCodeChanged(m_document->currentCode());
}

void DocumentObject::selectall()
{
    m_document->selectAll();
}

void DocumentObject::Delete()
{
    m_document->deleteSelection();
    emit changed();
}

void DocumentObject::ImportBmpfile(const QString& path)
{
    if (path.isEmpty()) {
        replyError(FontdError::InvalidArgument, tr("ImportBmpfile needs a file name"));
        return;
    }
    QString error;
    if (!m_document->importBitmap(path, &error)) {
        replyError(FontdError::ImportFailed, tr("cannot import %1: %2").arg(path, error));
        return;
    }
    emit changed();
}

void DocumentObject::SetLeftRightSidebearing(short lsb, short rsb, bool flag)
{
    Q_UNUSED(flag)
    QString error;
    if (!m_document->setSideBearings(lsb, rsb, &error)) {
        replyError(FontdError::InvalidArgument,
                   tr("cannot set side bearings %1 and %2: %3").arg(lsb).arg(rsb).arg(error));
        return;
    }
    emit changed();
}

bool DocumentObject::saved()
{
    return m_document->isSaved();
}

void DocumentObject::save()
{
    QString error;
    if (!saveFile(&error))
        replyError(FontdError::SaveFailed, tr("cannot save the font: %1").arg(error));
}

void DocumentObject::SaveAs(const QString& path)
{
    if (path.isEmpty()) {
        replyError(FontdError::InvalidArgument, tr("SaveAs needs a file name"));
        return;
    }
    QString error;
    if (!saveFileAs(path, &error))
        replyError(FontdError::SaveFailed, tr("cannot save the font as %1: %2").arg(path, error));
}

QString DocumentObject::FileName()
{
    return m_document->fileName();
}

QList<int> DocumentObject::GlyphCodes()
{
    QList<int> codes;
    codes.reserve(qsizetype(m_document->glyphs().size()));
    for (const auto& entry : m_document->glyphs())
        codes.append(entry.first);
    return codes;
}

void DocumentObject::Close()
{
    emit closeRequested(this);
}

void DocumentObject::replyError(const char* name, const QString& message)
{
    qCDebug(lcFontd) << m_objectPath << name << message;
    if (calledFromDBus())
        sendErrorReply(QString::fromLatin1(name), message);
}
