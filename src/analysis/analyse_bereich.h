#pragma once

#include <QString>
#include <QtGlobal>

// One analysis range: a rule that marks the stretches of time during which the analysed
// channel satisfies a temperature condition.
struct TAnalyseBereich {
    enum Condition : quint8 { Greater = 0, Less = 1, Bounded = 2 };
    // Which passages through the window of a "begrenzt" range count: where the value
    // entered the window from and where it left it.
    enum BorderFlag : quint8 {
        Rising = 1,  // from below, out above ("Steigend")
        Falling = 2, // from above, out below ("Fallend")
        Minimum = 4, // from above, back above
        Maximum = 8, // from below, back below
    };
    static constexpr quint32 kWhite = 0x00FFFFFF;

    QString Name;
    quint32 Threshold = 0; // tenths of a degree
    quint32 Limit = 0;     // tenths of a degree; "begrenzt" only
    quint8 Condition = Greater;
    quint8 Border = 0;        // BorderFlag bits
    quint32 Color = kWhite;   // Windows colour value 0x00BBGGRR
    quint8 Transparency = 80; // percent, at most 100

    bool operator==(const TAnalyseBereich&) const = default;
};
