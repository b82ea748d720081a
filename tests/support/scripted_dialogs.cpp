#include "support/scripted_dialogs.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

namespace {
const char* kindName(ScriptedDialogs::Kind k) {
    switch (k) {
    case ScriptedDialogs::Kind::Message: return "message";
    case ScriptedDialogs::Kind::Input: return "input";
    case ScriptedDialogs::Kind::OpenFile: return "open file";
    case ScriptedDialogs::Kind::SaveFile: return "save file";
    case ScriptedDialogs::Kind::Color: return "colour";
    }
    return "?";
}
} // namespace

ScriptedDialogs& ScriptedDialogs::answer(Answer a) {
    replies_.emplace_back(a);
    return *this;
}
ScriptedDialogs& ScriptedDialogs::text(const QString& t) {
    replies_.emplace_back(std::optional<QString>(t));
    return *this;
}
ScriptedDialogs& ScriptedDialogs::cancelInput() {
    replies_.emplace_back(std::optional<QString>());
    return *this;
}
ScriptedDialogs& ScriptedDialogs::file(const QString& path, int filterIndex) {
    replies_.emplace_back(std::optional<FileChoice>(FileChoice{path, filterIndex}));
    return *this;
}
ScriptedDialogs& ScriptedDialogs::cancelFile() {
    replies_.emplace_back(std::optional<FileChoice>());
    return *this;
}
ScriptedDialogs& ScriptedDialogs::color(const QColor& c) {
    replies_.emplace_back(std::optional<QColor>(c));
    return *this;
}

std::vector<ScriptedDialogs::Call> ScriptedDialogs::messages() const {
    std::vector<Call> out;
    for (const Call& c : calls_)
        if (c.kind == Kind::Message) out.push_back(c);
    return out;
}

template <typename T> std::optional<T> ScriptedDialogs::take(const Call& call) {
    if (replies_.empty()) {
        ADD_FAILURE() << "unexpected " << kindName(call.kind) << " \"" << call.caption.toStdString()
                      << "\": " << call.text.toStdString();
        return std::nullopt;
    }
    Reply r = replies_.front();
    if (!std::holds_alternative<T>(r)) {
        ADD_FAILURE() << "the queued answer does not fit the " << kindName(call.kind) << " \""
                      << call.caption.toStdString() << "\": " << call.text.toStdString();
        return std::nullopt;
    }
    replies_.pop_front();
    return std::get<T>(r);
}

Dialogs::Answer ScriptedDialogs::message(const QString& caption, const QString& text, Icon icon,
                                         Buttons buttons, Answer defaultAnswer, Owner owner) {
    Call call{Kind::Message, caption, text, icon, buttons, defaultAnswer, owner};
    calls_.push_back(call);
    if (buttons == Buttons::Ok && !requireOk_ &&
        (replies_.empty() || !std::holds_alternative<Answer>(replies_.front())))
        return Answer::Ok;
    return take<Answer>(call).value_or(defaultAnswer);
}

std::optional<QString> ScriptedDialogs::inputText(const QString& caption, const QString& prompt,
                                                  const QString& initial, bool masked) {
    Call call{Kind::Input, caption, prompt};
    call.proposed = initial;
    call.masked = masked;
    calls_.push_back(call);
    return take<std::optional<QString>>(call).value_or(std::nullopt);
}

std::optional<Dialogs::FileChoice> ScriptedDialogs::openFile(const QString& caption,
                                                             const QString& filter,
                                                             const QString&,
                                                             const QString& proposed) {
    Call call{Kind::OpenFile, caption, filter};
    call.proposed = proposed;
    calls_.push_back(call);
    return take<std::optional<FileChoice>>(call).value_or(std::nullopt);
}

std::optional<Dialogs::FileChoice> ScriptedDialogs::saveFile(const QString& caption,
                                                             const QString& filter,
                                                             const QString&,
                                                             const QString& proposed,
                                                             int filterIndex) {
    Call call{Kind::SaveFile, caption, filter};
    call.proposed = proposed;
    call.filterIndex = filterIndex;
    calls_.push_back(call);
    return take<std::optional<FileChoice>>(call).value_or(std::nullopt);
}

std::optional<QColor> ScriptedDialogs::chooseColor(const QColor& initial) {
    Call call{Kind::Color, QString(), initial.name()};
    calls_.push_back(call);
    return take<std::optional<QColor>>(call).value_or(std::nullopt);
}

ScopedScriptedDialogs::~ScopedScriptedDialogs() {
    setDialogs(previous_);
    EXPECT_TRUE(allAnswered()) << "queued dialog answers were never asked for";
}
