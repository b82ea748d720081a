#pragma once

#include "model/messung_info.h"

// A reference curve: a measurement with three fixed channels, the reference value and the
// allowed deviations above and below it, all in tenths of a degree. Stored as .mref files
// in the measurement file format.
class TReferenzInfo : public TMessungInfo {
    Q_DECLARE_TR_FUNCTIONS(TReferenzInfo)

public:
    TReferenzInfo();

    // Loads with the reference filter (whatever `filter` says) and accepts only files with
    // three channels; any other file empties the reference and gives false.
    bool Load(const QString& fileName, const QString& filter = QString()) override;

    // Fills `reference` from channel `channel` of `source`: one row per source row with
    // the channel's value and `delta` as both deviations. The rows are set directly, so
    // the reference's ranges stay as they were. False (nothing changed) for a channel the
    // source does not have or a reference without its three channels.
    static bool BuildFromChannel(TReferenzInfo& reference, int channel, const TMessungInfo& source,
                                 quint32 delta);
};
