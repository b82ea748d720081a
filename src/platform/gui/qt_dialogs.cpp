#include "platform/gui/qt_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {
QMessageBox::StandardButton toButton(Dialogs::Answer a) {
    switch (a) {
    case Dialogs::Answer::Ok: return QMessageBox::Ok;
    case Dialogs::Answer::Cancel: return QMessageBox::Cancel;
    case Dialogs::Answer::Yes: return QMessageBox::Yes;
    case Dialogs::Answer::No: return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

int filterIndexOf(const QString& filters, const QString& chosen) {
    const QStringList list = filters.split(QStringLiteral(";;"));
    const int i = static_cast<int>(list.indexOf(chosen));
    return i < 0 ? 0 : i;
}

QString startPath(const QString& folder, const QString& proposed) {
    if (proposed.isEmpty()) return folder;
    if (folder.isEmpty() || QDir::isAbsolutePath(proposed)) return proposed;
    return QDir(folder).filePath(proposed);
}
} // namespace

QWidget* QtDialogs::parentFor(Owner owner) const {
    switch (owner) {
    case Owner::MainWindow: return mainWindow_ ? mainWindow_.data() : QApplication::activeWindow();
    case Owner::ActiveWindow: return QApplication::activeWindow();
    case Owner::None: return nullptr;
    }
    return nullptr;
}

Dialogs::Answer QtDialogs::message(const QString& caption, const QString& text, Icon icon,
                                   Buttons buttons, Answer defaultAnswer, Owner owner) {
    QMessageBox box(parentFor(owner));
    box.setWindowTitle(caption);
    box.setText(text);
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Error: box.setIcon(QMessageBox::Critical); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    }
    QMessageBox::StandardButtons set;
    switch (buttons) {
    case Buttons::Ok: set = QMessageBox::Ok; break;
    case Buttons::OkCancel: set = QMessageBox::Ok | QMessageBox::Cancel; break;
    case Buttons::YesNo: set = QMessageBox::Yes | QMessageBox::No; break;
    case Buttons::YesNoCancel: set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    }
    box.setStandardButtons(set);
    box.setDefaultButton(toButton(defaultAnswer));
    // Escape gives the most cautious answer the box offers.
    if (set & QMessageBox::Cancel)
        box.setEscapeButton(QMessageBox::Cancel);
    else if (set & QMessageBox::No)
        box.setEscapeButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

std::optional<QString> QtDialogs::inputText(const QString& caption, const QString& prompt,
                                            const QString& initial, bool masked) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(QApplication::activeWindow(), caption, prompt,
                              masked ? QLineEdit::Password : QLineEdit::Normal, initial, &ok);
    if (!ok) return std::nullopt;
    return text;
}

std::optional<Dialogs::FileChoice> QtDialogs::openFile(const QString& caption,
                                                       const QString& filter,
                                                       const QString& folder,
                                                       const QString& proposed) {
    QString selected;
    const QString path = QFileDialog::getOpenFileName(
        QApplication::activeWindow(), caption, startPath(folder, proposed), filter, &selected);
    if (path.isEmpty()) return std::nullopt;
    return FileChoice{path, filterIndexOf(filter, selected)};
}

std::optional<Dialogs::FileChoice> QtDialogs::saveFile(const QString& caption,
                                                       const QString& filter,
                                                       const QString& folder,
                                                       const QString& proposed, int filterIndex) {
    const QStringList filters = filter.split(QStringLiteral(";;"));
    QString selected = filters.value(filterIndex);
    const QString path = QFileDialog::getSaveFileName(
        QApplication::activeWindow(), caption, startPath(folder, proposed), filter, &selected);
    if (path.isEmpty()) return std::nullopt;
    return FileChoice{path, filterIndexOf(filter, selected)};
}

std::optional<QColor> QtDialogs::chooseColor(const QColor& initial) {
    const QColor c = QColorDialog::getColor(initial, QApplication::activeWindow());
    if (!c.isValid()) return std::nullopt;
    return c;
}
