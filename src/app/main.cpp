#include "app/Form1.h"
#include "app/SingleCopy.h"
#include "i18n/UiLanguage.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    UiLanguage::install(app);
    // Ties the window to the installed menu entry and its icon (Wayland app id, X11 hints).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.marrowby.Pointillo"));

    // A copy already running has been asked to come forward: this one ends before it reads a
    // setting or a file, and shows nothing.
    SingleCopy single;
    if (!single.claim())
        return 0;

    // Title bars and task switchers show it; the menu entry takes the installed copy.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/org.marrowby.Pointillo.svg")));
    Form1 form;
    QObject::connect(&single, &SingleCopy::comeForward, &form, &Form1::comeForward);
    form.Form_Load();
    form.show();
    // The first activation once the event loop runs and the window is up: the grid, then the
    // font server, whose questions then have a window to stand in front of.
    QMetaObject::invokeMethod(&form, &Form1::Form_Activate, Qt::QueuedConnection);
    return app.exec();
}
