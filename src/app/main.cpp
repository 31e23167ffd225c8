#include "app/mainwindow.h"
#include "app/startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(TILT_APP_ID));
    initTiltResources();
    installStartupTranslator(app);
    applyStyleSheet(app);
    MainWindow window;
    window.show();
    return app.exec();
}
