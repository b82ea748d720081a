// zolt-serial-sim: the serial six-channel logger on a pseudo terminal. Prints the path of
// its terminal on the first line of stdout, then answers commands while the other end is
// set to 9600 baud (8N1) and streams online records while it is set to 4800 baud (7E1).

#include "sim_logger.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
volatile std::sig_atomic_t quitRequested = 0;
void onSignal(int) {
    quitRequested = 1;
}

bool parseCounts(const QString& text, std::array<int, 6>& counts) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 1 && parts.size() != 6) return false;
    for (int c = 0; c < 6; ++c) {
        bool ok = false;
        const int n = parts[parts.size() == 1 ? 0 : c].trimmed().toInt(&ok);
        if (!ok || n < 0) return false;
        counts[c] = n;
    }
    return true;
}

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "zolt-serial-sim: %s: %s\n", what, std::strerror(errno));
    std::exit(1);
}
} // namespace

int main(int argc, char** argv) {
    // Never outlive whoever started us, and end cleanly when told to.
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    const pid_t parent = getppid();

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zolt-serial-sim"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "The serial Zolt logger on a pseudo terminal.\n"
        "Stored record i of channel c lies at interval tick t = i (with --gaps: i*c) and "
        "holds 20+c+(t mod 30) degrees; online round k of channel c holds 20+c+(k mod 30)."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("rate"), QStringLiteral("Online records per second (all channels)."),
         QStringLiteral("n"), QStringLiteral("10")},
        {QStringLiteral("records"),
         QStringLiteral("Stored records per channel: one number or six, comma-separated."),
         QStringLiteral("list"), QStringLiteral("40")},
        {QStringLiteral("mem-interval"), QStringLiteral("Interval of the stored measurement."),
         QStringLiteral("ms"), QStringLiteral("1000")},
        {QStringLiteral("gaps"), QStringLiteral("Channel c stores only every c-th interval.")},
        {QStringLiteral("noise"), QStringLiteral("Chance (0..1) of line noise before a record."),
         QStringLiteral("p"), QStringLiteral("0")},
        {QStringLiteral("broken"),
         QStringLiteral("Chance (0..1) of a broken record after a record."), QStringLiteral("p"),
         QStringLiteral("0")},
        {QStringLiteral("date-format"),
         QStringLiteral("Format of the date reply (default: the locale's short format)."),
         QStringLiteral("format")},
        {QStringLiteral("seed"), QStringLiteral("Seed of the noise."), QStringLiteral("n"),
         QStringLiteral("1")},
    });
    parser.process(app);

    SimLogger::Options options;
    bool ok = true;
    const double rate = parser.value(QStringLiteral("rate")).toDouble(&ok);
    if (!ok || rate <= 0 || rate > 1000) parser.showHelp(2);
    if (!parseCounts(parser.value(QStringLiteral("records")), options.records)) parser.showHelp(2);
    options.memIntervalMs = parser.value(QStringLiteral("mem-interval")).toInt(&ok);
    if (!ok || options.memIntervalMs <= 0) parser.showHelp(2);
    options.gaps = parser.isSet(QStringLiteral("gaps"));
    options.noise = parser.value(QStringLiteral("noise")).toDouble();
    options.broken = parser.value(QStringLiteral("broken")).toDouble();
    options.dateFormat = parser.value(QStringLiteral("date-format"));
    options.seed = parser.value(QStringLiteral("seed")).toUInt();
    SimLogger logger(options);

    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0) fail("posix_openpt");
    if (grantpt(master) != 0 || unlockpt(master) != 0) fail("grantpt/unlockpt");
    // Raw until the program sets its own line: no echo of our replies back to us.
    termios tio{};
    if (tcgetattr(master, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(master, TCSANOW, &tio);
    }
    std::printf("%s\n", ptsname(master));
    std::fflush(stdout);

    const int periodMs = std::max(1, static_cast<int>(1000.0 / rate));
    QElapsedTimer clock;
    clock.start();
    bool connected = false;
    qint64 nextRecordAt = 0;
    QByteArray command, pending;

    while (!quitRequested) {
        if (getppid() != parent) break;
        // The line settings of the other end tell the mode: 4800 baud streams. (A pseudo
        // terminal keeps the speed but always reports 8 bits without parity.)
        bool online = false;
        if (tcgetattr(master, &tio) == 0) online = cfgetospeed(&tio) == B4800;

        const qint64 now = clock.elapsed();
        int timeout = 50;
        if (connected && online)
            timeout = static_cast<int>(std::max<qint64>(0, nextRecordAt - now));
        pollfd pfd{master, static_cast<short>(POLLIN | (pending.isEmpty() ? 0 : POLLOUT)), 0};
        if (poll(&pfd, 1, std::min(timeout, 50)) < 0) {
            if (errno == EINTR) continue;
            fail("poll");
        }
        if ((pfd.revents & POLLHUP) && !(pfd.revents & POLLIN)) {
            // Nobody has the terminal open: forget the conversation, wait for the next one.
            connected = false;
            command.clear();
            pending.clear();
            poll(nullptr, 0, 10);
            continue;
        }
        if (!connected) {
            connected = true;
            nextRecordAt = clock.elapsed() + periodMs;
        }
        if (pfd.revents & POLLIN) {
            char buffer[4096];
            const ssize_t n = read(master, buffer, sizeof buffer);
            for (ssize_t i = 0; i < n; ++i) {
                if (buffer[i] == '\r') {
                    pending += logger.HandleCommand(command);
                    command.clear();
                } else if (buffer[i] != '\n' && command.size() < 256) {
                    command += buffer[i];
                }
            }
        }
        if (connected && online && clock.elapsed() >= nextRecordAt) {
            pending += logger.NextOnlineRecord();
            nextRecordAt += periodMs;
            // After a stall, carry on from now instead of bursting to catch up.
            if (clock.elapsed() - nextRecordAt > 10L * periodMs) nextRecordAt = clock.elapsed();
        }
        if (!pending.isEmpty()) {
            const ssize_t n =
                write(master, pending.constData(), static_cast<size_t>(pending.size()));
            if (n > 0) pending.remove(0, n);
        }
    }
    close(master);
    return 0;
}
