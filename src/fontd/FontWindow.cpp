#include "fontd/FontWindow.h"

#include "fontd/DocumentObject.h"
#include "fontd/FontCodes.h"
#include "fontd/FontPropertiesDialog.h"
#include "fontd/FontServer.h"
#include "fontd/GlyphGridLayout.h"
#include "fontd/GlyphGridView.h"
#include "fontd/Woff2.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStandardPaths>
#include <QStatusBar>

namespace {

// Where the file dialogs start without a font's own folder: the user's documents folder,
// made when missing as an untitled save makes it, else the home folder; never the server's
// working folder, which is / when D-Bus started it.
QString documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir().mkpath(documents))
        return documents;
    return QDir::homePath();
}

QString chooseWithDialog(QWidget* parent, bool save, const QString& start)
{
    if (!save)
        return QFileDialog::getOpenFileName(
            parent, QCoreApplication::translate("FontWindow", "Open font"), start,
            QCoreApplication::translate(
                "FontWindow",
                "Fonts (*.ttf *.woff2);;TrueType fonts (*.ttf);;WOFF2 web fonts (*.woff2);;"
                "All files (*)"));
    // The type chosen gives a name typed without one its suffix, before the dialog asks
    // about replacing a file.
    const QString trueType = QCoreApplication::translate("FontWindow", "TrueType font (*.ttf)");
    const QString woff2 = QCoreApplication::translate("FontWindow", "WOFF2 web font (*.woff2)");
    QFileDialog dialog(parent, QCoreApplication::translate("FontWindow", "Save font as"), start);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({trueType, woff2});
    const auto choose = [&dialog, woff2](const QString& filter) {
        dialog.setDefaultSuffix(filter == woff2 ? QStringLiteral("woff2") : QStringLiteral("ttf"));
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, choose);
    const QString initial = Woff2::isWoff2Name(start) ? woff2 : trueType;
    dialog.selectNameFilter(initial);
    choose(initial);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
} // namespace

FontWindow::FontWindow(FontServer& server, QWidget* parent)
    : QMainWindow(parent)
    , m_server(server)
    , m_chooseFile(chooseWithDialog)
    , m_grid(new GlyphGridView(this))
{
    setCentralWidget(m_grid);
    createMenus();
    m_readWarnings = new QLabel(this);
    statusBar()->addPermanentWidget(m_readWarnings);
    resize(720, 560);

    connect(&m_server, &FontServer::activeDocumentChanged, this, &FontWindow::showDocument);
    connect(&m_server, &FontServer::documentsChanged, this, &FontWindow::rebuildDocumentsMenu);
    connect(m_grid, &GlyphGridView::codeClicked, this, [this](int code) {
        if (m_document)
            m_document->selectCode(code);
    });
    showDocument(m_server.activeDocument());
    rebuildDocumentsMenu();
}

void FontWindow::createMenus()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    m_newWestern =
        file->addAction(tr("New &Western font"), this, [this] { newFont(FontDocument::Western); });
    m_newWestern->setShortcut(QKeySequence::New);
    m_newJapanese = file->addAction(tr("New &Japanese font"), this,
                                    [this] { newFont(FontDocument::Japanese); });
    m_newJapanese->setShortcut(QKeySequence(tr("Ctrl+Shift+N")));
    m_open = file->addAction(tr("&Open..."), this, &FontWindow::openFont);
    m_open->setShortcut(QKeySequence::Open);
    file->addSeparator();
    m_save = file->addAction(tr("&Save"), this, [this] { saveFont(m_document); });
    m_save->setShortcut(QKeySequence::Save);
    m_saveAs = file->addAction(tr("Save &As..."), this, [this] { saveFontAs(m_document); });
    m_saveAs->setShortcut(QKeySequence::SaveAs);
    m_close = file->addAction(tr("&Close"), this, &FontWindow::closeFont);
    m_close->setShortcut(QKeySequence::Close);
    file->addSeparator();
    m_properties = file->addAction(tr("&Properties..."), this, &FontWindow::editProperties);
    file->addSeparator();
    QAction* quit = file->addAction(tr("&Quit"), this, &QWidget::close);
    quit->setShortcut(QKeySequence::Quit);

    m_documentsMenu = menuBar()->addMenu(tr("&Documents"));
}

void FontWindow::newFont(int kind)
{
    QString error;
    if (!m_server.newDocument(FontDocument::Kind(kind), &error))
        showError(error);
}

void FontWindow::openFont()
{
    // A folder, never a name: Open has nothing to propose.
    QString start = documentsFolder();
    if (m_document && !m_document->document().fileName().isEmpty())
        start = QFileInfo(m_document->document().fileName()).absolutePath();
    const QString path = m_chooseFile(this, false, start);
    if (path.isEmpty())
        return;
    QString error;
    if (!m_server.openDocument(path, &error))
        showError(error);
}

bool FontWindow::saveFont(DocumentObject* document)
{
    if (!document)
        return false;
    // From the window an untitled font asks for its name; over D-Bus it gets a new one.
    if (document->document().fileName().isEmpty())
        return saveFontAs(document);
    QString error;
    if (!document->saveFile(&error)) {
        showError(tr("Cannot save the font: %1").arg(error));
        return false;
    }
    return true;
}

bool FontWindow::saveFontAs(DocumentObject* document)
{
    if (!document)
        return false;
    QPointer<DocumentObject> guard(document);
    // Untitled: propose the name a D-Bus save would pick, in the folder that exists for it.
    QString start = document->document().fileName();
    if (start.isEmpty())
        start = QDir(documentsFolder())
                    .filePath(QFileInfo(document->document().untitledFileName()).fileName());
    const QString path = m_chooseFile(this, true, start);
    // The dialog runs the event loop: a D-Bus call may have closed the font meanwhile.
    if (path.isEmpty() || !guard)
        return false;
    QString error;
    if (!guard->saveFileAs(path, &error)) {
        showError(tr("Cannot save the font as %1: %2").arg(path, error));
        return false;
    }
    return true;
}

void FontWindow::closeFont()
{
    QPointer<DocumentObject> document = m_document.data();
    if (!document || !settleUnsaved(document) || !document)
        return;
    m_server.closeDocument(document);
}

void FontWindow::editProperties()
{
    QPointer<DocumentObject> document = m_document.data();
    if (!document)
        return;
    FontPropertiesDialog dialog(document->document().names(),
                                FontDocument::defaultFamilyName(document->document().kind()), this);
    // The dialog runs the event loop: a D-Bus call may close the font meanwhile.
    if (dialog.exec() == QDialog::Accepted && document)
        document->setNames(dialog.names());
}

bool FontWindow::settleUnsaved(DocumentObject* document)
{
    if (document->document().isSaved())
        return true;
    QPointer<DocumentObject> guard(document);
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, windowTitle(), tr("%1 has unsaved changes. Save them?").arg(document->displayName()),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (!guard)
        return true;
    if (answer == QMessageBox::Discard)
        return true;
    if (answer == QMessageBox::Save)
        return saveFont(guard);
    return false;
}

void FontWindow::closeEvent(QCloseEvent* event)
{
    // Copy: saving may run the event loop, and D-Bus calls may change the list.
    const QList<DocumentObject*> documents = m_server.documents();
    for (DocumentObject* document : documents) {
        if (m_server.documents().contains(document) && !settleUnsaved(document)) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

void FontWindow::showDocument(DocumentObject* document)
{
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    m_document = document;
    if (document) {
        connect(document, &DocumentObject::changed, this, &FontWindow::refresh);
        connect(document, &DocumentObject::changed, this, &FontWindow::rebuildDocumentsMenu);
        connect(document, &DocumentObject::currentCodeChanged, this, &FontWindow::refresh);
    }
    m_grid->setDocument(document);
    refresh();
    rebuildDocumentsMenu();
}

void FontWindow::refresh()
{
    const bool open = m_document;
    m_save->setEnabled(open);
    m_saveAs->setEnabled(open);
    m_close->setEnabled(open);
    m_properties->setEnabled(open);
    const QStringList warnings = open ? m_document->document().readWarnings() : QStringList();
    m_readWarnings->setVisible(!warnings.isEmpty());
    m_readWarnings->setText(tr("Damaged parts of the file left out: %1").arg(warnings.size()));
    m_readWarnings->setToolTip(warnings.join(u'\n'));
    if (!open) {
        setWindowTitle(QStringLiteral("pointillo-fontd"));
        setWindowModified(false);
        statusBar()->showMessage(tr("No font open: File > New or Open"));
        return;
    }
    const FontDocument& font = m_document->document();
    const QString kind = font.kind() == FontDocument::Japanese ? tr("Japanese") : tr("Western");
    setWindowTitle(tr("%1[*] (%2) - pointillo-fontd").arg(m_document->displayName(), kind));
    setWindowModified(!font.isSaved());
    const int code = font.currentCode();
    statusBar()->showMessage(
        tr("Code %1 %2   %n glyph(s)", nullptr, int(font.glyphs().size()))
            .arg(GlyphGridLayout::codeLabel(code), FontCodes::character(font.kind(), code)));
}

void FontWindow::rebuildDocumentsMenu()
{
    m_documentsMenu->clear();
    auto* group = new QActionGroup(m_documentsMenu);
    for (DocumentObject* document : m_server.documents()) {
        QString label = document->displayName();
        if (!document->document().isSaved())
            label += QLatin1Char('*');
        QAction* action = m_documentsMenu->addAction(label);
        action->setCheckable(true);
        action->setChecked(document == m_document);
        action->setActionGroup(group);
        QPointer<DocumentObject> target(document);
        connect(action, &QAction::triggered, this, [this, target] {
            if (target)
                m_server.setActiveDocument(target);
        });
    }
    m_documentsMenu->setEnabled(!m_server.documents().isEmpty());
}

void FontWindow::showError(const QString& message)
{
    QMessageBox::warning(this, QStringLiteral("pointillo-fontd"), message);
}
