#pragma once

#include <QColor>
#include <QString>

#include <optional>

class QObject;

// The one seam through which core code asks the user anything: message boxes, the
// single-line input box, file and colour dialogs. The GUI installs a Qt implementation,
// tests a scripted one, the command-line tool one that prints and takes defaults.
class Dialogs {
public:
    enum class Icon { None, Information, Warning, Error, Question };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };
    // Which window a message belongs to; only the GUI cares.
    enum class Owner { ActiveWindow, MainWindow, None };

    struct FileChoice {
        QString path;
        int filterIndex = 0; // 0-based index of the chosen filter
    };

    virtual ~Dialogs() = default;

    virtual Answer message(const QString& caption, const QString& text, Icon icon,
                           Buttons buttons, Answer defaultAnswer, Owner owner) = 0;
    // Returns nothing when the user cancels. `masked` hides the typed characters.
    virtual std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                             const QString& initial, bool masked) = 0;
    // `filter` uses Qt's form: "Zolt-Messung (*.zolt);;Textdatei (*.txt)".
    virtual std::optional<FileChoice> openFile(const QString& caption, const QString& filter,
                                               const QString& folder,
                                               const QString& proposed) = 0;
    virtual std::optional<FileChoice> saveFile(const QString& caption, const QString& filter,
                                               const QString& folder, const QString& proposed,
                                               int filterIndex) = 0;
    virtual std::optional<QColor> chooseColor(const QColor& initial) = 0;

    // Convenience forms used throughout the program.
    void info(const QString& text, Owner owner = Owner::ActiveWindow);
    void error(const QString& text, Owner owner = Owner::ActiveWindow);
    void warning(const QString& caption, const QString& text, Owner owner = Owner::ActiveWindow);
    // "Bestätigen", Yes/No, question icon; true for Yes.
    bool confirm(const QString& text, Answer defaultAnswer, Owner owner = Owner::ActiveWindow);
};

// Answers every question with its default and writes "Caption: text" to stderr.
// Used by the command-line tool and whenever no other implementation is installed.
class ConsoleDialogs : public Dialogs {
public:
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
};

// The installed implementation (a ConsoleDialogs until someone installs another).
Dialogs& dialogs();
// Installs `d` (not owned) and returns the previous one; nullptr restores the console.
Dialogs* setDialogs(Dialogs* d);

// Installs an implementation for the lifetime of a scope.
class DialogsScope {
public:
    explicit DialogsScope(Dialogs& d) : previous_(setDialogs(&d)) {}
    ~DialogsScope() { setDialogs(previous_); }
    DialogsScope(const DialogsScope&) = delete;
    DialogsScope& operator=(const DialogsScope&) = delete;

private:
    Dialogs* previous_;
};
