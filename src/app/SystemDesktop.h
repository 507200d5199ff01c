#pragma once

#include "app/Desktop.h"

// The real desktop: PATH, detached processes and the desktop's URL handlers.
class SystemDesktop : public Desktop
{
public:
    QString findExecutable(const QString& program) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;
    bool openUrl(const QUrl& url) override;
};
