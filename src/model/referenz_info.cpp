#include "model/referenz_info.h"

#include "platform/dialogs.h"

TReferenzInfo::TReferenzInfo() {
    Reset();
    SetChannelCount(3);
    const QString names[] = {tr("Referenzkurve"), tr("Delta positiv"), tr("Delta negativ")};
    for (int i = 0; i < 3; ++i) {
        TKanalInfo channel;
        channel.Name = names[i];
        channel.DeviceChannel = static_cast<quint16>(i + 1);
        SetChannel(i, channel);
    }
}

bool TReferenzInfo::Load(const QString& fileName, const QString&) {
    if (!TMessungInfo::Load(fileName, ReferenceFilter())) return false;
    if (ChannelCount() == 3) return true;
    dialogs().warning(tr("Fehler"),
                      tr("Die geladene Kurve kann nicht als Referenzkurve verwendet werden!"));
    Reset();
    return false;
}

bool TReferenzInfo::BuildFromChannel(TReferenzInfo& reference, int channel,
                                     const TMessungInfo& source, quint32 delta) {
    const TKanalInfo* from = source.GetChannel(channel);
    if (!from || reference.ChannelCount() != 3) return false;
    reference.channels_[0].DeviceChannel = from->DeviceChannel;
    const int rows = source.RowCount();
    std::vector<quint32> table;
    table.reserve(static_cast<std::size_t>(rows) * 5);
    for (int r = 0; r < rows; ++r) {
        const quint32* row = source.RowData(r);
        table.insert(table.end(), {row[0], row[channel + 1], delta, delta, 1});
    }
    reference.rows_.swap(table);
    return true;
}
