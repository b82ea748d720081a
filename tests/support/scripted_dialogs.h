#pragma once

#include "platform/dialogs.h"

#include <deque>
#include <optional>
#include <variant>
#include <vector>

// Dialogs for tests: every call is recorded; answers come from a queue filled by the
// test in the order the calls are expected. A call with nothing queued for it fails the
// test (and gets the default answer or a cancel).
class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { Message, Input, OpenFile, SaveFile, Color };
    struct Call {
        Kind kind;
        QString caption;
        QString text; // message text, input prompt, or file filter
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        Answer defaultAnswer = Answer::Ok;
        Owner owner = Owner::ActiveWindow;
        QString proposed; // initial input text or proposed file name
        int filterIndex = 0;
        bool masked = false;
    };
    // An answer: a button, text (nullopt = cancel), a file choice, or a colour.
    using Reply = std::variant<Answer, std::optional<QString>, std::optional<FileChoice>,
                               std::optional<QColor>>;

    ScriptedDialogs& answer(Answer a);
    ScriptedDialogs& text(const QString& t);
    ScriptedDialogs& cancelInput();
    ScriptedDialogs& file(const QString& path, int filterIndex = 0);
    ScriptedDialogs& cancelFile();
    ScriptedDialogs& color(const QColor& c);
    // Message boxes with a single OK button need no queued answer.
    ScriptedDialogs& requireOkAnswers(bool require) {
        requireOk_ = require;
        return *this;
    }

    const std::vector<Call>& calls() const { return calls_; }
    std::vector<Call> messages() const;
    const Call& last() const { return calls_.back(); }
    bool allAnswered() const { return replies_.empty(); }
    void clear() {
        calls_.clear();
        replies_.clear();
    }

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
    template <typename T> std::optional<T> take(const Call& call);

    std::vector<Call> calls_;
    std::deque<Reply> replies_;
    bool requireOk_ = false;
};

// Installs fresh ScriptedDialogs for a test's scope and checks at its end that every
// queued answer was used.
class ScopedScriptedDialogs : public ScriptedDialogs {
public:
    ScopedScriptedDialogs() : previous_(setDialogs(this)) {}
    ~ScopedScriptedDialogs() override;

private:
    Dialogs* previous_;
};
