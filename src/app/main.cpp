#include "app/Form1.h"
#include "i18n/UiLanguage.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    UiLanguage::install(app);
    // Ties the window to the installed menu entry and its icon (Wayland app id, X11 hints).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.marrowby.Pointillo"));
    Form1 form;
    form.show();
    // The first activation once the event loop runs and the window is up: the grid, then the
    // font server, whose questions then have a window to stand in front of.
    QMetaObject::invokeMethod(&form, &Form1::Form_Activate, Qt::QueuedConnection);
    return app.exec();
}
