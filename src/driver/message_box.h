#pragma once

#include <QString>

namespace zolt3 {

// The library's own message boxes (OK button only). Without another implementation
// installed the text goes to stderr, so a library without a display never blocks.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void show(const QString& caption, const QString& text) = 0;
};

// Writes "Caption: text" to stderr.
class ConsoleMessageBox : public MessageBox {
public:
    void show(const QString& caption, const QString& text) override;
};

MessageBox& messageBox();
// Installs `box` (not owned) and returns the previous one; nullptr restores the console.
MessageBox* setMessageBox(MessageBox* box);

} // namespace zolt3
