// Arbitrary bytes as a measurement file, as a reference file and as JSON. Whatever loads
// must also survive the way through JSON unchanged.

#include "model/messung_json.h"
#include "model/referenz_info.h"
#include "platform/dialogs.h"

#include <QDir>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {
// Says nothing and answers every question with its default.
class SilentDialogs : public Dialogs {
public:
    Answer message(const QString&, const QString&, Icon, Buttons, Answer answer, Owner) override {
        return answer;
    }
    std::optional<QString> inputText(const QString&, const QString&, const QString&,
                                     bool) override {
        return std::nullopt;
    }
    std::optional<FileChoice> openFile(const QString&, const QString&, const QString&,
                                       const QString&) override {
        return std::nullopt;
    }
    std::optional<FileChoice> saveFile(const QString&, const QString&, const QString&,
                                       const QString&, int) override {
        return std::nullopt;
    }
    std::optional<QColor> chooseColor(const QColor&) override { return std::nullopt; }
};

QString inputFile() {
    const QString folder =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    return QStringLiteral("%1/zolt-fuzz-%2.zolt").arg(folder).arg(getpid());
}

void checkJsonRoundTrip(const TMessungInfo& m) {
    // Refused on purpose: a password the JSON does not carry, a start time that is no number.
    if (!m.Password.isEmpty() || !std::isfinite(m.StartTime)) return;
    const QByteArray json = MessungToJson(m, true);
    TMessungInfo back;
    if (!MessungFromJson(json, back).isEmpty() || MessungToJson(back, true) != json) std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static SilentDialogs silent;
    static const QString path = [] {
        setDialogs(&silent);
        return inputFile();
    }();
    const QByteArray name = path.toLocal8Bit();
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || ::write(fd, data, size) != static_cast<ssize_t>(size)) std::abort();
    ::close(fd);

    {
        TMessungInfo m;
        if (m.Load(path)) checkJsonRoundTrip(m);
    }
    {
        TReferenzInfo r;
        r.Load(path);
    }
    {
        TMessungInfo j;
        const auto bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                   static_cast<qsizetype>(size));
        if (MessungFromJson(bytes, j).isEmpty()) MessungToJson(j, true);
    }
    return 0;
}
