#include "fontd/DocumentObject.h"

#include "DocumentAdaptor.h"
#include "fontd/FontServer.h"
#include "fontd/FontdError.h"

#include <QDir>
#include <QFileInfo>

DocumentObject::DocumentObject(std::unique_ptr<FontDocument> document, const QString& objectPath,
                               FontServer* server)
    : QObject(server)
    , m_document(std::move(document))
    , m_objectPath(objectPath)
    , m_server(server)
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
    m_lastSelected = false;
    emit currentCodeChanged(code);
    return true;
}

bool DocumentObject::saveFile(QString* error)
{
    const bool ok = m_document->save(error, [this](const QString& path) {
        return m_server && m_server->documentOnFile(path, this);
    });
    emit changed();
    return ok;
}

bool DocumentObject::saveFileAs(const QString& path, QString* error)
{
    // Two fonts on one file would wipe each other's glyphs with every save.
    if (const DocumentObject* other = m_server ? m_server->documentOnFile(path, this) : nullptr) {
        if (error)
            *error = tr("%1 is the file of another open font, %2 (%3); close that one first")
                         .arg(path, other->displayName(), other->objectPath());
        return false;
    }
    const bool ok = m_document->saveAs(path, error);
    emit changed();
    return ok;
}

void DocumentObject::setNames(const FontNames& names)
{
    m_document->setNames(names);
    emit changed();
}

void DocumentObject::forgetClient(const QString& name)
{
    m_cursors.remove(name);
}

DocumentObject::Cursor* DocumentObject::clientCursor()
{
    if (!calledFromDBus())
        return nullptr;
    const QString name = message().service();
    auto it = m_cursors.find(name);
    if (it == m_cursors.end()) {
        // Where the font last moved, selection included: a script of one-shot calls (busctl,
        // gdbus), a new client each, works as one client would.
        it = m_cursors.insert(name, Cursor{m_document->currentCode(), m_lastSelected});
        emit clientArrived(name);
    }
    return &it.value();
}

void DocumentObject::follow(const Cursor& cursor)
{
    selectCode(cursor.code);
    m_lastSelected = cursor.selected;
}

int DocumentObject::callerCode()
{
    const Cursor* cursor = clientCursor();
    return cursor ? cursor->code : m_document->currentCode();
}

void DocumentObject::moveCaller(int code)
{
    if (!m_document->holds(code))
        return;
    Cursor* cursor = clientCursor();
    if (!cursor) {
        selectCode(code);
        return;
    }
    if (cursor->code != code)
        cursor->selected = false;
    cursor->code = code;
    follow(*cursor);
}

void DocumentObject::setcode(short unused, int code, bool flag)
{
    Q_UNUSED(unused)
    Q_UNUSED(flag)
    moveCaller(code);
}

void DocumentObject::setcode(short unused, short code, bool flag)
{
    Q_UNUSED(unused)
    Q_UNUSED(flag)
    // A 16-bit caller cannot say 0x8000 and above except as a negative number.
    moveCaller(code < 0 ? code + 65536 : code);
}

short DocumentObject::getcode(short unused, bool flag)
{
    Q_UNUSED(unused)
    Q_UNUSED(flag)
    return short(quint16(callerCode()));
}

void DocumentObject::viewnextcode()
{
    if (const std::optional<int> next = m_document->codeAfter(callerCode()))
        moveCaller(*next);
}

void DocumentObject::viewpreviouscode()
{
    if (const std::optional<int> previous = m_document->codeBefore(callerCode()))
        moveCaller(*previous);
}

void DocumentObject::selectall()
{
    Cursor* cursor = clientCursor();
    if (!cursor) {
        m_document->selectAll();
        return;
    }
    cursor->selected = true;
    follow(*cursor);
}

void DocumentObject::Delete()
{
    Cursor* cursor = clientCursor();
    if (!cursor) {
        m_document->deleteSelection();
    } else if (cursor->selected) {
        cursor->selected = false;
        follow(*cursor);
        m_document->clearGlyph(cursor->code);
    }
    emit changed();
}

void DocumentObject::ImportBmpfile(const QString& path)
{
    if (path.isEmpty()) {
        replyError(FontdError::InvalidArgument, tr("ImportBmpfile needs a file name"));
        return;
    }
    if (QDir::isRelativePath(path)) {
        replyError(FontdError::InvalidArgument,
                   tr("ImportBmpfile needs an absolute file name, not %1").arg(path));
        return;
    }
    QString error;
    if (!m_document->importBitmap(callerCode(), path, &error)) {
        replyError(FontdError::ImportFailed, tr("cannot import %1: %2").arg(path, error));
        return;
    }
    emit changed();
}

void DocumentObject::SetLeftRightSidebearing(short lsb, short rsb, bool flag)
{
    Q_UNUSED(flag)
    QString error;
    if (!m_document->setSideBearings(callerCode(), lsb, rsb, &error)) {
        replyError(FontdError::InvalidArgument,
                   tr("cannot set side bearings %1 and %2: %3").arg(lsb).arg(rsb).arg(error));
        return;
    }
    emit changed();
}

void DocumentObject::SetDotGrid(short dotsX, short dotsY, bool square)
{
    if (dotsX < DotGrid::MinDots || dotsX > DotGrid::MaxDots || dotsY < DotGrid::MinDots ||
        dotsY > DotGrid::MaxDots) {
        replyError(FontdError::InvalidArgument, tr("a dot grid has %1 to %2 dots each way, not "
                                                   "%3 x %4")
                                                    .arg(DotGrid::MinDots)
                                                    .arg(DotGrid::MaxDots)
                                                    .arg(dotsX)
                                                    .arg(dotsY));
        return;
    }
    // Sent before every glyph: only a new grid is a change.
    const std::optional<DotGrid> grid = DotGrid::of(dotsX, dotsY, square);
    if (grid == m_document->dotGrid())
        return;
    m_document->setDotGrid(grid);
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
    // The server's working folder means nothing to its clients ("/" when it was activated).
    if (QDir::isRelativePath(path)) {
        replyError(FontdError::InvalidArgument,
                   tr("SaveAs needs an absolute file name, not %1").arg(path));
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

QString DocumentObject::FamilyName() const
{
    return m_document->familyName();
}

void DocumentObject::setFamilyName(const QString& name)
{
    m_document->setFamilyName(name);
    emit changed();
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
