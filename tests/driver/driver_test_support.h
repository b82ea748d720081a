#pragma once

#include "driver/message_box.h"

#include <QString>

#include <chrono>
#include <vector>

// Records the library's message boxes for the scope of a test.
class RecordedMessageBoxes : public zolt3::MessageBox {
public:
    struct Shown {
        QString caption;
        QString text;
    };
    RecordedMessageBoxes() : previous_(zolt3::setMessageBox(this)) {}
    ~RecordedMessageBoxes() override { zolt3::setMessageBox(previous_); }
    RecordedMessageBoxes(const RecordedMessageBoxes&) = delete;
    RecordedMessageBoxes& operator=(const RecordedMessageBoxes&) = delete;

    void show(const QString& caption, const QString& text) override {
        shown.push_back({caption, text});
    }

    std::vector<Shown> shown;

private:
    zolt3::MessageBox* previous_;
};

// A clock that moves on by `step` every time it is read, so waits end without sleeping.
class SteppingClock {
public:
    explicit SteppingClock(std::chrono::milliseconds step) : step_(step) {}
    std::chrono::steady_clock::time_point operator()() {
        now_ += step_;
        ++reads_;
        return now_;
    }
    void advance(std::chrono::milliseconds d) { now_ += d; }
    int reads() const { return reads_; }

private:
    std::chrono::milliseconds step_;
    std::chrono::steady_clock::time_point now_{};
    int reads_ = 0;
};
