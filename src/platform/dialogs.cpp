#include "platform/dialogs.h"

#include <QCoreApplication>

#include <cstdio>

namespace {
ConsoleDialogs& consoleDialogs() {
    static ConsoleDialogs console;
    return console;
}
Dialogs* installed = nullptr;

// Gives lupdate and the translator the same context for this file's texts.
struct DialogsTexts {
    Q_DECLARE_TR_FUNCTIONS(Dialogs)
};
} // namespace

Dialogs& dialogs() { return installed ? *installed : consoleDialogs(); }

Dialogs* setDialogs(Dialogs* d) {
    Dialogs* previous = installed;
    installed = d;
    return previous;
}

void Dialogs::info(const QString& text, Owner owner) {
    message(DialogsTexts::tr("Info"), text, Icon::Information, Buttons::Ok, Answer::Ok, owner);
}

void Dialogs::error(const QString& text, Owner owner) {
    message(DialogsTexts::tr("Fehler"), text, Icon::Error, Buttons::Ok, Answer::Ok, owner);
}

void Dialogs::warning(const QString& caption, const QString& text, Owner owner) {
    message(caption, text, Icon::Warning, Buttons::Ok, Answer::Ok, owner);
}

bool Dialogs::confirm(const QString& text, Answer defaultAnswer, Owner owner) {
    return message(DialogsTexts::tr("Bestätigen"), text, Icon::Question, Buttons::YesNo,
                   defaultAnswer, owner) == Answer::Yes;
}

Dialogs::Answer ConsoleDialogs::message(const QString& caption, const QString& text, Icon,
                                        Buttons, Answer defaultAnswer, Owner) {
    QString line = caption + QStringLiteral(": ") + text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    return defaultAnswer;
}

std::optional<QString> ConsoleDialogs::inputText(const QString& caption, const QString& prompt,
                                                 const QString&, bool) {
    std::fprintf(stderr, "%s: %s\n", caption.toLocal8Bit().constData(),
                 prompt.toLocal8Bit().constData());
    return std::nullopt;
}

std::optional<Dialogs::FileChoice> ConsoleDialogs::openFile(const QString&, const QString&,
                                                            const QString&, const QString&) {
    return std::nullopt;
}

std::optional<Dialogs::FileChoice> ConsoleDialogs::saveFile(const QString&, const QString&,
                                                            const QString&, const QString&, int) {
    return std::nullopt;
}

std::optional<QColor> ConsoleDialogs::chooseColor(const QColor&) { return std::nullopt; }
