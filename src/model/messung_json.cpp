#include "model/messung_json.h"

#include "model/messung_info.h"
#include "platform/ole_date.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <charconv>
#include <cmath>

namespace {
// Gives lupdate and the translator the same context for this file's texts.
struct MessungJsonTexts {
    Q_DECLARE_TR_FUNCTIONS(MessungJson)
};

// ---------------------------------------------------------------- writing

void appendString(QByteArray& out, const QString& s) {
    out += '"';
    for (const QChar ch : s) {
        const char16_t c = ch.unicode();
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
                out += buf;
            } else {
                out += QString(ch).toUtf8();
            }
        }
    }
    out += '"';
}

template <typename T> void appendNumber(QByteArray& out, T value) {
    // A negative zero reads back as the integer 0, so it is written as that.
    if constexpr (std::is_floating_point_v<T>) value += T(0);
    char buf[32];
    // Shortest text that reads back as the same value.
    const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    out.append(buf, end - buf);
}

void appendKey(QByteArray& out, const char* key, int indent = 2) {
    out += QByteArray(indent, ' ');
    out += '"';
    out += key;
    out += "\": ";
}

// ---------------------------------------------------------------- reading

struct Reader {
    QString error;

    bool fail(const QString& text) {
        if (error.isEmpty()) error = text;
        return false;
    }
    // An integral JSON number within [lo, hi].
    bool integer(const QJsonValue& v, double lo, double hi, const QString& what, double& out) {
        const double d = v.toDouble(std::nan(""));
        if (!v.isDouble() || !(d >= lo && d <= hi) || d != std::floor(d))
            return fail(MessungJsonTexts::tr("\"%1\" muss eine ganze Zahl von %2 bis %3 sein.")
                            .arg(what)
                            .arg(qint64(lo))
                            .arg(qint64(hi)));
        out = d;
        return true;
    }
    bool string(const QJsonObject& o, const char* key, QString& out) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined()) return true;
        if (!v.isString())
            return fail(MessungJsonTexts::tr("\"%1\" muss ein Text sein.").arg(QLatin1String(key)));
        out = v.toString();
        return true;
    }
    bool array(const QJsonObject& o, const char* key, QJsonArray& out) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined()) return true;
        if (!v.isArray())
            return fail(
                MessungJsonTexts::tr("\"%1\" muss eine Liste sein.").arg(QLatin1String(key)));
        out = v.toArray();
        return true;
    }
};
} // namespace

QString OleDateToIso(double ole) {
    const QDateTime dt = fromOleDate(ole);
    return dt.isValid() ? dt.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) : QString();
}

QByteArray MessungToJson(const TMessungInfo& m, bool withRows) {
    QByteArray out = "{\n";
    const auto text = [&](const char* key, const QString& value) {
        appendKey(out, key);
        appendString(out, value);
        out += ",\n";
    };
    const auto number = [&](const char* key, auto value) {
        appendKey(out, key);
        appendNumber(out, value);
        out += ",\n";
    };
    text("Title", m.Title);
    text("User", m.User);
    text("Description", m.Description);
    const QString iso = OleDateToIso(m.StartTime);
    appendKey(out, "StartTime");
    if (iso.isEmpty())
        out += "null";
    else
        appendString(out, iso);
    out += ",\n";
    appendKey(out, "StartTimeOle");
    if (std::isfinite(m.StartTime))
        appendNumber(out, m.StartTime);
    else
        out += "null";
    out += ",\n";
    appendKey(out, "Protected");
    out += m.Password.isEmpty() ? "false,\n" : "true,\n";
    appendKey(out, "Interpolated");
    out += m.Interpolated ? "true,\n" : "false,\n";

    appendKey(out, "Channels");
    out += '[';
    for (int c = 0; c < m.ChannelCount(); ++c) {
        const TKanalInfo* ch = m.GetChannel(c);
        out += c ? ",\n    {\"Name\": " : "\n    {\"Name\": ";
        appendString(out, ch->Name);
        out += ", \"DeviceChannel\": ";
        appendNumber(out, ch->DeviceChannel);
        out += ", \"ChannelFlag\": ";
        appendNumber(out, ch->ChannelFlag);
        out += '}';
    }
    out += m.ChannelCount() ? "\n  ],\n" : "],\n";

    appendKey(out, "Markers");
    out += '[';
    for (int i = 0; i < m.MarkerCount(); ++i) {
        const TMarkerInfo* marker = m.GetMarker(i);
        out += i ? ",\n    {\"Time\": " : "\n    {\"Time\": ";
        appendNumber(out, marker->Time);
        out += ", \"Text\": ";
        appendString(out, marker->Text);
        out += '}';
    }
    out += m.MarkerCount() ? "\n  ],\n" : "],\n";

    // Interpolated rows are a matter of display, as in the file: only measured ones.
    const int stride = m.RowStride();
    int measured = 0;
    for (int r = 0; r < m.RowCount(); ++r)
        if (m.RowData(r)[stride - 1] != 0) ++measured;
    number("RowCount", measured);
    number("TimeMin", m.TimeMin);
    number("TimeMax", m.TimeMax);
    number("ValueMin", m.ValueMin);
    appendKey(out, "ValueMax");
    appendNumber(out, m.ValueMax);
    if (withRows) {
        out += ",\n";
        appendKey(out, "Rows");
        out += '[';
        bool first = true;
        for (int r = 0; r < m.RowCount(); ++r) {
            const quint32* row = m.RowData(r);
            if (row[stride - 1] == 0) continue;
            out += first ? "\n    [" : ",\n    [";
            first = false;
            for (int i = 0; i < stride - 1; ++i) {
                if (i) out += ", ";
                appendNumber(out, row[i]);
            }
            out += ']';
        }
        out += first ? "]" : "\n  ]";
    }
    out += "\n}\n";
    return out;
}

QString MessungFromJson(const QByteArray& json, TMessungInfo& m) {
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (doc.isNull())
        return MessungJsonTexts::tr("Kein gültiges JSON (Zeichen %1): %2")
            .arg(parseError.offset)
            .arg(parseError.errorString());
    if (!doc.isObject()) return MessungJsonTexts::tr("Das JSON muss ein Objekt sein.");
    const QJsonObject o = doc.object();
    Reader in;

    if (o.value(QLatin1String("Protected")).toBool())
        return MessungJsonTexts::tr("Die Messung ist geschützt; ihr Passwort steht nicht im JSON.");

    const QJsonValue ole = o.value(QLatin1String("StartTimeOle"));
    const QJsonValue iso = o.value(QLatin1String("StartTime"));
    if (ole.isDouble()) {
        m.StartTime = ole.toDouble();
    } else if (iso.isString()) {
        const QDateTime dt = QDateTime::fromString(iso.toString(), Qt::ISODateWithMs);
        if (!dt.isValid())
            return MessungJsonTexts::tr("\"StartTime\" ist kein Datum nach ISO 8601.");
        m.StartTime = toOleDate(dt);
    } else {
        return MessungJsonTexts::tr("\"StartTimeOle\" oder \"StartTime\" fehlt.");
    }
    if (!in.string(o, "Title", m.Title) || !in.string(o, "User", m.User) ||
        !in.string(o, "Description", m.Description))
        return in.error;

    QJsonArray channels, markers, rows;
    if (!in.array(o, "Channels", channels) || !in.array(o, "Markers", markers) ||
        !in.array(o, "Rows", rows))
        return in.error;
    if (channels.size() > TMessungInfo::kMaxChannels)
        return MessungJsonTexts::tr("Mehr als %1 Kanäle.").arg(TMessungInfo::kMaxChannels);
    if (markers.size() > TMessungInfo::kMaxMarkers)
        return MessungJsonTexts::tr("Mehr als %1 Markierungen.").arg(TMessungInfo::kMaxMarkers);

    const int n = static_cast<int>(channels.size());
    m.SetChannelCount(n);
    if (m.ChannelCount() != n)
        return MessungJsonTexts::tr("Die Anzahl der Kanäle wurde nicht geändert.");
    for (int c = 0; c < n; ++c) {
        const QJsonObject ch = channels[c].toObject();
        const QString where = QStringLiteral("Channels[%1]").arg(c);
        TKanalInfo channel;
        double device = channel.DeviceChannel, flag = channel.ChannelFlag;
        if (!channels[c].isObject())
            return MessungJsonTexts::tr("\"%1\" muss ein Objekt sein.").arg(where);
        if (!in.string(ch, "Name", channel.Name) ||
            (ch.contains(QLatin1String("DeviceChannel")) &&
             !in.integer(ch.value(QLatin1String("DeviceChannel")), 0, 0xFFFF,
                         where + QStringLiteral(".DeviceChannel"), device)) ||
            (ch.contains(QLatin1String("ChannelFlag")) &&
             !in.integer(ch.value(QLatin1String("ChannelFlag")), 0, 0xFF,
                         where + QStringLiteral(".ChannelFlag"), flag)))
            return in.error;
        channel.DeviceChannel = static_cast<quint16>(device);
        channel.ChannelFlag = static_cast<quint8>(flag);
        m.SetChannel(c, channel);
    }

    m.SetMarkerCount(0);
    for (qsizetype i = 0; i < markers.size(); ++i) {
        const QString where = QStringLiteral("Markers[%1]").arg(i);
        if (!markers[i].isObject())
            return MessungJsonTexts::tr("\"%1\" muss ein Objekt sein.").arg(where);
        const QJsonObject mk = markers[i].toObject();
        double time = 0;
        QString text;
        if (!in.integer(mk.value(QLatin1String("Time")), -2147483648.0, 2147483647.0,
                        where + QStringLiteral(".Time"), time) ||
            !in.string(mk, "Text", text))
            return in.error;
        m.AddMarker(static_cast<qint32>(time), text);
    }

    m.ReserveRows(static_cast<int>(rows.size()));
    TDataRow row(n + 2, 1);
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const QJsonArray values = rows[r].toArray();
        if (!rows[r].isArray() || values.size() != n + 1)
            return MessungJsonTexts::tr(
                       "\"Rows[%1]\" muss eine Liste aus %2 Zahlen sein (Zeit und ein Wert je "
                       "Kanal).")
                .arg(r)
                .arg(n + 1);
        for (int i = 0; i <= n; ++i) {
            double v = 0;
            if (!in.integer(values[i], 0, 4294967295.0,
                            QStringLiteral("Rows[%1][%2]").arg(r).arg(i), v))
                return in.error;
            row[i] = static_cast<quint32>(v);
        }
        m.AddRow(row);
    }
    if (o.value(QLatin1String("Interpolated")).toBool()) m.SetInterpolation(true);
    return QString();
}
