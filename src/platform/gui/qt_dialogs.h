#pragma once

#include "platform/dialogs.h"

#include <QPointer>

class QWidget;

// Dialogs shown as Qt's standard message boxes and dialogs.
class QtDialogs : public Dialogs {
public:
    // The window that owns messages meant for the main window.
    void setMainWindow(QWidget* window) { mainWindow_ = window; }

    Answer message(const QString& caption, const QString& text, Icon icon, Buttons buttons,
                   Answer defaultAnswer, Owner owner) override;
    std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                     const QString& initial, bool masked) override;
    std::optional<FileChoice> openFile(const QString& caption, const QString& filter,
                                       const QString& folder, const QString& proposed) override;
    std::optional<FileChoice> saveFile(const QString& caption, const QString& filter,
                                       const QString& folder, const QString& proposed,
                                       int filterIndex) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;

private:
    QWidget* parentFor(Owner owner) const;
    QPointer<QWidget> mainWindow_;
};
