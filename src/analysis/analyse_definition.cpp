#include "analysis/analyse_definition.h"

#include "platform/win1252.h"

#include <ini.h>

#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>

namespace {
enum Key { Threshold, Limit, Color, Transparency, Condition, Border, KeyCount };
constexpr const char* kKeyNames[KeyCount] = {"Threshold",    "Limit",     "Color",
                                             "Transparency", "Condition", "Border"};

struct Section {
    QByteArray rawName;
    std::optional<QByteArray> values[KeyCount];
};

// Everything inih sees passes through this reader. It hands inih one line at a time
// with the leading blanks removed (so no line reads as the continuation of the one
// before) and swaps each section header for its number: inih cuts section names at
// 49 bytes and reports sections only when they hold a key, while a range name may be
// longer and a section without keys is still a range.
struct Parser {
    explicit Parser(const QByteArray& content) : data(content) {}

    const QByteArray& data;
    qsizetype pos = 0;
    bool utf8 = false;
    std::vector<Section> sections;
    QHash<QString, int> byName;     // folded name -> index in sections
    std::vector<int> headerSection; // header number -> index in sections

    QString decode(const QByteArray& raw) const {
        if (!utf8) return fromWin1252(raw);
        QStringDecoder decoder(QStringDecoder::Utf8);
        return decoder(raw);
    }

    void header(const QByteArray& rawName) {
        const QString folded = decode(rawName).toCaseFolded();
        auto it = byName.find(folded);
        if (it == byName.end()) {
            it = byName.insert(folded, static_cast<int>(sections.size()));
            sections.push_back(Section{rawName, {}});
        }
        headerSection.push_back(it.value());
    }
};

char* readLine(char* str, int num, void* stream) {
    auto* p = static_cast<Parser*>(stream);
    if (p->pos >= p->data.size() || num < 8) return nullptr;
    // Lines end at CR, LF or both (an empty line between CR and LF is harmless).
    qsizetype next = p->pos;
    while (next < p->data.size() && p->data[next] != '\n' && p->data[next] != '\r')
        ++next;
    if (next < p->data.size()) ++next;
    QByteArray line = p->data.mid(p->pos, next - p->pos);
    if (p->pos == 0 && line.startsWith("\xEF\xBB\xBF")) line.remove(0, 3);
    p->pos = next;
    line = line.trimmed();
    if (line.startsWith('[')) {
        const qsizetype close = line.lastIndexOf(']');
        if (close > 0) {
            p->header(line.mid(1, close - 1).trimmed());
            line = '[' + QByteArray::number(p->headerSection.size() - 1) + ']';
        }
    }
    // An overlong line is cut rather than split, so its tail cannot pose as a key.
    line.truncate(num - 2);
    line.append('\n');
    std::memcpy(str, line.constData(), static_cast<std::size_t>(line.size()) + 1);
    return str;
}

int onValue(void* user, const char* section, const char* name, const char* value) {
    auto* p = static_cast<Parser*>(user);
    // Keys before the first header belong to no section.
    if (!section || !*section || !name || !value) return 1;
    bool ok = false;
    const auto header = QByteArray(section).toUInt(&ok);
    if (!ok || header >= p->headerSection.size()) return 1;
    Section& s = p->sections[static_cast<std::size_t>(p->headerSection[header])];
    for (int k = 0; k < KeyCount; ++k) {
        if (qstricmp(name, kKeyNames[k]) == 0) {
            s.values[k] = QByteArray(value);
            break;
        }
    }
    return 1;
}

// The program writes Windows-1252; a file edited elsewhere may be UTF-8, which shows by
// its byte order mark or by non-ASCII bytes that decode cleanly (1252 text practically
// never does).
bool looksLikeUtf8(const QByteArray& content) {
    if (content.startsWith("\xEF\xBB\xBF")) return true;
    if (std::all_of(content.begin(), content.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8);
    // Decoding happens on conversion to QString, which the error check needs.
    const QString decoded = decoder(content);
    return !decoder.hasError();
}

// An integer as the profile functions read it: decimal with an optional sign, or
// hexadecimal after "$" or "0x"; anything else (or out of 32 bits) is unreadable.
// Negative numbers give their 32-bit two's complement, so signed writing reads back
// bit for bit.
std::optional<quint32> parseInteger(QByteArray text) {
    text = text.trimmed();
    bool negative = false;
    if (text.startsWith('+') || text.startsWith('-')) {
        negative = text.startsWith('-');
        text.remove(0, 1);
    }
    int base = 10;
    if (text.startsWith('$')) {
        base = 16;
        text.remove(0, 1);
    } else if (text.startsWith("0x") || text.startsWith("0X")) {
        base = 16;
        text.remove(0, 2);
    }
    if (text.isEmpty()) return std::nullopt;
    for (char c : text) {
        const bool digit =
            base == 10 ? (c >= '0' && c <= '9') : std::isxdigit(static_cast<unsigned char>(c));
        if (!digit) return std::nullopt;
    }
    bool ok = false;
    const qulonglong magnitude = text.toULongLong(&ok, base);
    if (!ok || magnitude > 0xFFFFFFFFull) return std::nullopt;
    if (negative) {
        if (magnitude > 0x80000000ull) return std::nullopt;
        return static_cast<quint32>(0u - static_cast<quint32>(magnitude));
    }
    return static_cast<quint32>(magnitude);
}

quint32 valueOr(const Section& s, Key key, quint32 fallback) {
    if (!s.values[key]) return fallback;
    return parseInteger(*s.values[key]).value_or(fallback);
}

// Ini-safe section name: a line break would end the header early.
QByteArray sectionName(const QString& name) {
    QString n = name;
    n.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return toWin1252(n);
}
} // namespace

std::vector<TAnalyseBereich> ParseAnalyseDefinition(const QByteArray& content) {
    Parser parser(content);
    parser.utf8 = looksLikeUtf8(content);
    ini_parse_stream(readLine, &parser, onValue, &parser);

    std::vector<TAnalyseBereich> ranges;
    ranges.reserve(parser.sections.size());
    for (const Section& s : parser.sections) {
        TAnalyseBereich r;
        r.Name = parser.decode(s.rawName);
        r.Threshold = valueOr(s, Threshold, 0);
        r.Limit = valueOr(s, Limit, 0);
        r.Color = valueOr(s, Color, TAnalyseBereich::kWhite);
        r.Transparency =
            static_cast<quint8>(std::min<quint32>(valueOr(s, Transparency, 80) & 0xFF, 100));
        r.Condition = static_cast<quint8>(valueOr(s, Condition, 0) & 0xFF);
        r.Border = static_cast<quint8>(valueOr(s, Border, 0) & 0x0F);
        ranges.push_back(r);
    }
    return ranges;
}

QByteArray WriteAnalyseDefinition(const std::vector<TAnalyseBereich>& ranges) {
    struct Out {
        QByteArray name;
        const TAnalyseBereich* values;
    };
    std::vector<Out> sections;
    QHash<QString, std::size_t> byName;
    for (const TAnalyseBereich& r : ranges) {
        const QByteArray name = sectionName(r.Name);
        // Compare the names as they will be read back (after the code page and trimming).
        const QString key = fromWin1252(name.trimmed()).toCaseFolded();
        const auto it = byName.constFind(key);
        if (it != byName.constEnd()) {
            sections[it.value()].values = &r;
        } else {
            byName.insert(key, sections.size());
            sections.push_back(Out{name, &r});
        }
    }

    QByteArray out;
    for (const Out& s : sections) {
        if (!out.isEmpty()) out += "\r\n";
        const TAnalyseBereich& r = *s.values;
        const qint32 values[KeyCount] = {
            static_cast<qint32>(r.Threshold), static_cast<qint32>(r.Limit),
            static_cast<qint32>(r.Color),     static_cast<qint32>(r.Transparency),
            static_cast<qint32>(r.Condition), static_cast<qint32>(r.Border & 0x0F),
        };
        out += '[' + s.name + "]\r\n";
        for (int k = 0; k < KeyCount; ++k)
            out += QByteArray(kKeyNames[k]) + '=' + QByteArray::number(values[k]) + "\r\n";
    }
    return out;
}
