#pragma once

#include "fontd/FontNaming.h"

#include <QDialog>

class QLineEdit;

// The font's names as the server's window lets a user edit them: family, style, version and
// copyright.  An empty family or style stands for the default one.
class FontPropertiesDialog : public QDialog
{
    Q_OBJECT

public:
    FontPropertiesDialog(const FontNames& names, const QString& defaultFamily,
                         QWidget* parent = nullptr);

    FontNames names() const;

    QLineEdit* familyEdit() const { return m_family; }
    QLineEdit* styleEdit() const { return m_style; }
    QLineEdit* versionEdit() const { return m_version; }
    QLineEdit* copyrightEdit() const { return m_copyright; }

private:
    QLineEdit* m_family;
    QLineEdit* m_style;
    QLineEdit* m_version;
    QLineEdit* m_copyright;
};
