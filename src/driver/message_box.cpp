#include "driver/message_box.h"

#include <cstdio>

namespace zolt3 {

namespace {
ConsoleMessageBox consoleBox;
MessageBox* installed = nullptr;
} // namespace

void ConsoleMessageBox::show(const QString& caption, const QString& text) {
    const QByteArray line = (caption + QStringLiteral(": ") + text.trimmed()).toLocal8Bit();
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
}

MessageBox& messageBox() {
    return installed ? *installed : consoleBox;
}

MessageBox* setMessageBox(MessageBox* box) {
    MessageBox* previous = installed;
    installed = box;
    return previous;
}

} // namespace zolt3
