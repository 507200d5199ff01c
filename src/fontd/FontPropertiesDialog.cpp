#include "fontd/FontPropertiesDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

FontPropertiesDialog::FontPropertiesDialog(const FontNames& names, const QString& defaultFamily,
                                           QWidget* parent)
    : QDialog(parent)
    , m_family(new QLineEdit(names.family, this))
    , m_style(new QLineEdit(names.style, this))
    , m_version(new QLineEdit(names.version, this))
    , m_copyright(new QLineEdit(names.copyright, this))
{
    setWindowTitle(tr("Font properties"));
    const FontNames defaults;
    m_family->setPlaceholderText(defaultFamily);
    m_style->setPlaceholderText(defaults.style);
    m_version->setPlaceholderText(defaults.version);
    m_copyright->setPlaceholderText(tr("Copyright (c) year, your name"));
    for (QLineEdit* edit : {m_family, m_style, m_version, m_copyright}) {
        edit->setMaxLength(FontNaming::MaxLength);
        edit->setMinimumWidth(320);
    }

    auto* form = new QFormLayout(this);
    form->addRow(tr("&Family:"), m_family);
    form->addRow(tr("&Style:"), m_style);
    form->addRow(tr("&Version:"), m_version);
    form->addRow(tr("&Copyright:"), m_copyright);
    auto* note = new QLabel(tr("Fonts are installed and chosen by their family name: give each "
                               "font a family of its own.  Regular, Bold, Italic and Bold Italic "
                               "are the styles every application knows."),
                            this);
    note->setWordWrap(true);
    form->addRow(note);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

FontNames FontPropertiesDialog::names() const
{
    return {m_family->text(), m_style->text(), m_version->text(), m_copyright->text()};
}
