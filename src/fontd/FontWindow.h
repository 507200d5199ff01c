#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>

class DocumentObject;
class FontServer;
class GlyphGridView;
class QAction;
class QLabel;
class QMenu;

// The server's window: the active font's glyphs, its file name with "*" while unsaved, and the
// File menu.  Everything it does goes through the same FontServer and DocumentObject members
// as the D-Bus calls, so the window and the bus always show one state.
class FontWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit FontWindow(FontServer& server, QWidget* parent = nullptr);

    // Asks for the font file to open, or (save) to save under, starting at start; an empty
    // answer cancels.  A name ending in .woff2 saves a WOFF2 web font.  QFileDialog by
    // default; tests answer without a dialog.
    using FileChooser = std::function<QString(QWidget* parent, bool save, const QString& start)>;
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

    GlyphGridView* gridView() const { return m_grid; }
    QAction* newWesternAction() const { return m_newWestern; }
    QAction* newJapaneseAction() const { return m_newJapanese; }
    QAction* openAction() const { return m_open; }
    QAction* saveAction() const { return m_save; }
    QAction* saveAsAction() const { return m_saveAs; }
    QAction* closeAction() const { return m_close; }
    QAction* propertiesAction() const { return m_properties; }
    // The status bar's note of what reading the active font's file left out, hidden when
    // nothing was.
    QLabel* readWarningsLabel() const { return m_readWarnings; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    void newFont(int kind);
    void openFont();
    bool saveFont(DocumentObject* document);
    bool saveFontAs(DocumentObject* document);
    void closeFont();
    void editProperties();
    // Save, discard or keep a font with unsaved changes; false when the user keeps it.
    bool settleUnsaved(DocumentObject* document);
    void showDocument(DocumentObject* document);
    void refresh();
    void rebuildDocumentsMenu();
    void showError(const QString& message);

    FontServer& m_server;
    FileChooser m_chooseFile;
    QPointer<DocumentObject> m_document;
    GlyphGridView* m_grid = nullptr;
    QLabel* m_readWarnings = nullptr;
    QMenu* m_documentsMenu = nullptr;
    QAction* m_newWestern = nullptr;
    QAction* m_newJapanese = nullptr;
    QAction* m_open = nullptr;
    QAction* m_save = nullptr;
    QAction* m_saveAs = nullptr;
    QAction* m_close = nullptr;
    QAction* m_properties = nullptr;
};
