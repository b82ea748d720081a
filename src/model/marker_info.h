#pragma once

#include <QString>
#include <QtGlobal>

// A marker on the time axis.
struct TMarkerInfo {
    qint32 Time = 0; // ms
    QString Text;
    // Index of the caption drawing in the chart, owned by the view; -1 = not drawn.
    // Never stored, and not carried along when one marker is copied onto another.
    qint32 DrawingIndex = -1;

    void CopyFrom(const TMarkerInfo& other) {
        Time = other.Time;
        Text = other.Text;
    }
};
