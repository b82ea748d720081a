#include "platform/gui/qt_dialogs.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Trelwin"));
    QApplication::setApplicationName(QStringLiteral("Zolt"));
    QtDialogs dialogs;
    DialogsScope scope(dialogs);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Trelwin Zolt für Linux"));
    window.resize(800, 600);
    dialogs.setMainWindow(&window);
    window.show();
    return app.exec();
}
