#pragma once

#include "codes/CodeText.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The words of the main window's status bar: the font the glyphs go to, and one short line for
// what a command did.  Failures are not told here: they keep their message boxes.
class StatusText
{
    Q_DECLARE_TR_FUNCTIONS(StatusText)

public:
    // A list of skipped codes is cut after this many entries (a code or a span).
    static constexpr int MaxListedCodes = 8;

    // The font the editor sends to, as the last set-up found it.
    struct Font
    {
        bool open = false; // a server answered with a font
        QString family;    // its family name; empty when the server did not tell
        qint32 kind = 0;   // as fontKind: 1 Western, 2 Japanese, 0 not known
        bool saved = true; // false while the font has changes not saved
    };
    // "Font: MyPixel* (Western)", the * while unsaved; "Font: none" without a font.
    static QString font(const Font& font);
    static QString fontToolTip();

    // The glyph of code went to the font named family: "Sent 41 A to MyPixel".
    static QString sent(qint32 code, CodePage page, const QString& family);

    // A batch run over a range of codes (A.Scan) or over every stored glyph.
    enum class Run { Range, All };
    struct Outcome
    {
        int sent = 0;
        QList<qint32> skipped; // passed over: 7F, codes the font lacks or refused
        bool cancelled = false;
        std::optional<qint32> stoppedAt; // the run ended here: nothing sent from it on
    };
    // "A.Scan: 223 sent, 2 skipped (7F, 80)", and whether it was cancelled or stopped.
    static QString batch(Run run, const Outcome& outcome);

    static QString tableSaved(const QString& fileName);
    static QString fontImported(int glyphs, const QString& fileName);
    static QString bdfExported(const QString& fileName);
    // files are the settings' stores that took them; none is told as well.
    static QString settingsSaved(const QStringList& files);
    static QString settingsLoaded();
    static QString settingsReset();

    // codes as the batch's messages list them, cut after MaxListedCodes entries.
    static QString shortCodeList(const QList<qint32>& codes);
};
