// The remembered settings of the main window: loaded from the user's store and the settings
// file beside the program, saved into both, reset to the defaults.

#include "app/Form1.h"

#include "app/DialogScanAll.h"
#include "app/ProfileFile.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSettings>
#include <QSlider>

using Key = SettingsTable::Key;

QVariant Form1::settingValue(Key key) const
{
    switch (key) {
    case Key::X:
        return SliderDotX->value();
    case Key::Y:
        return SliderDotY->value();
    case Key::S:
        return SliderSize->value();
    case Key::Char:
        return char_;
    case Key::Square:
        return int(CheckSquare->isChecked());
    case Key::RefChar:
        return int(CheckRefChar->isChecked());
    case Key::RefFace:
        return TextFace->text();
    case Key::SetSB:
        return int(CheckSB->isChecked());
    case Key::CharTbl:
        return int(CheckChrTbl->isChecked());
    case Key::LSB:
        return TextLSB->text();
    case Key::RSB:
        return TextRSB->text();
    case Key::AutoSave:
        return int(CheckAutoSave->isChecked());
    case Key::BufFileName:
        return TextBufFileName->text();
    case Key::StartChar:
        return startchar;
    case Key::EndChar:
        return endchar;
    }
    return {};
}

void Form1::assignSetting(Key key, const QVariant& value)
{
    // A check box or text box that really changes runs its own change handling, as when the
    // user changes it; a slider set here only repaints until the step after it.
    switch (key) {
    case Key::X:
        SliderDotX->setValue(value.toInt());
        break;
    case Key::Y:
        SliderDotY->setValue(value.toInt());
        break;
    case Key::S:
        SliderSize->setValue(value.toInt());
        break;
    case Key::Char:
        char_ = value.toInt();
        break;
    case Key::Square:
        CheckSquare->setChecked(value.toInt() == 1);
        break;
    case Key::RefChar:
        CheckRefChar->setChecked(value.toInt() == 1);
        break;
    case Key::RefFace:
        TextFace->setText(value.toString());
        break;
    case Key::SetSB:
        CheckSB->setChecked(value.toInt() == 1);
        break;
    case Key::CharTbl:
        CheckChrTbl->setChecked(value.toInt() == 1);
        break;
    case Key::LSB:
        TextLSB->setText(value.toString());
        break;
    case Key::RSB:
        TextRSB->setText(value.toString());
        break;
    case Key::AutoSave:
        CheckAutoSave->setChecked(value.toInt() == 1);
        break;
    case Key::BufFileName:
        TextBufFileName->setText(value.toString());
        break;
    case Key::StartChar:
        startchar = value.toInt();
        break;
    case Key::EndChar:
        endchar = value.toInt();
        break;
    }
}

void Form1::settingFollowUp(Key key, bool reset)
{
    switch (key) {
    case Key::Y:
        // Both sizes are set: one full redraw.
        if (reset)
            SliderDotY_Scroll();
        else
            SliderDotX_Scroll();
        break;
    case Key::S:
        SliderSize_Scroll();
        break;
    case Key::RefFace:
        curFace = TextFace->text();
        break;
    case Key::CharTbl:
        // The window's width follows the box even when the box did not change.
        CheckChrTbl_Click();
        break;
    case Key::EndChar:
        if (m_scanAll)
            m_scanAll->offerRangeAgain();
        break;
    default:
        break;
    }
}

void Form1::LoadSettings()
{
    const QScopedValueRollback loading(bLoading, true);
    const std::unique_ptr<QSettings> user = SettingsTable::openUserStore();
    const ProfileFile file(iniFileName);
    const QString section = SettingsTable::section();
    for (const Key key : SettingsTable::keys) {
        const QString name = SettingsTable::name(key);
        const QVariant stored = user->value(name);
        std::optional<QString> text;
        // An entry written by hand with a comma reads as a list: it is the text it was.
        if (stored.typeId() == QMetaType::QStringList)
            text = stored.toStringList().join(QStringLiteral(", "));
        else if (stored.isValid())
            text = stored.toString();
        QVariant value = SettingsTable::fromUserText(key, text);
        // The settings file pins what it holds.
        if (const std::optional<QVariant> pinned = SettingsTable::fromProfileText(
                key, file.value(section, name, SettingsTable::notSet())))
            value = *pinned;
        assignSetting(key, value);
        settingFollowUp(key, false);
    }
    loadPreviewSettings(*user);
    mnubaseline->setChecked(user->value(SettingsTable::baselineKey(), true).toBool());
}

QStringList Form1::SaveSettings()
{
    const std::unique_ptr<QSettings> user = SettingsTable::openUserStore();
    ProfileFile file(iniFileName);
    const QString section = SettingsTable::section();
    for (const Key key : SettingsTable::keys) {
        const QString name = SettingsTable::name(key);
        const QVariant value = settingValue(key);
        SettingsTable::setUserValue(*user, name, SettingsTable::userText(key, value));
        file.setValue(section, name, SettingsTable::profileText(key, value));
    }
    savePreviewSettings(*user);
    SettingsTable::setUserValue(*user, SettingsTable::baselineKey(), mnubaseline->isChecked());
    // A store that cannot be written keeps what it had; nothing else depends on it.
    QStringList written;
    user->sync();
    if (user->status() == QSettings::NoError)
        written << user->fileName();
    if (file.save())
        written << iniFileName;
    return written;
}

void Form1::mnusavesetting_Click()
{
    say(StatusText::settingsSaved(SaveSettings()));
}

// The code comes after the grid's redraw among the keys: without a redraw of its own the grid
// and the cell would stay on the old code while char_ moved, and the next export or stroke
// would take one code's glyph for another's.
void Form1::mnuloadsetting_Click()
{
    LoadSettings();
    // As while loading: the loaded code stands, and the font server hears of it at the next
    // operation.
    const QScopedValueRollback loading(bLoading, true);
    bRedraw = true;
    drawGrid();
    say(StatusText::settingsLoaded());
}

void Form1::mnudefault_Click()
{
    for (const Key key : SettingsTable::keys) {
        assignSetting(key, SettingsTable::defaultValue(key));
        settingFollowUp(key, true);
    }
    resetPreviewSettings();
    mnubaseline->setChecked(true);
    bRedraw = true;
    drawGrid();
    say(StatusText::settingsReset());
}
