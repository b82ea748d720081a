#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

class QTranslator;
class QWidget;

// The user-interface languages: German is built in, every other language is a Qt
// translation file "zolt_<code>.qm" beside the program. Languages are told apart by their
// Windows primary language id (7 German, 9 English), which the settings keep.
class Languages {
    Q_DECLARE_TR_FUNCTIONS(Languages)
public:
    struct Language {
        int localeId;
        QString name;   // in its own language
        QString qmFile; // empty for the built-in German
    };

    static constexpr int kGerman = 7;
    static constexpr int kEnglish = 9;

    // Every language the program can show, German first.
    static QList<Language> available();
    // How many languages exist besides the built-in one.
    static int alternativeCount();
    // Installs the language of `localeId`; an unknown id or a missing file leaves German.
    // Returns whether the language is now in force.
    static bool switchTo(int localeId);
    static int current();
    // The selection dialog; the chosen id, or nothing when cancelled.
    static std::optional<int> choose(QWidget* parent);

private:
    static std::unique_ptr<QTranslator>& translator();
    // Qt's own texts (standard buttons, file dialogs) in the language in force.
    static std::unique_ptr<QTranslator>& qtTranslator();
    static void installQtTexts(int localeId);
    static int& currentId();
};
