#include "platform/gui/qt_dialogs.h"
#include "shell/main_form.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Trelwin"));
    QApplication::setApplicationName(QStringLiteral("Zolt"));
    QtDialogs dialogs;
    DialogsScope scope(dialogs);

    TMainForm form;
    dialogs.setMainWindow(&form);
    form.show();
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    form.Start(arguments);
    return app.exec();
}
