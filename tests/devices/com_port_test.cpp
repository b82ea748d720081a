#include "devices/com_port.h"
#include "devices/ser_zolt.h"
#include "platform/settings_backend.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

namespace {

using Scope = SettingsBackend::Scope;

TEST(ComPort, ResolvesEnvironmentThenSettingThenTtyS) {
    struct Case {
        const char* name;
        QString port;
        QByteArray env;   // ZOLT_COM2
        QVariant setting; // SerialPorts/COM2
        QString expected;
    };
    const Case cases[] = {
        {"default", "COM2", {}, {}, "/dev/ttyS1"},
        {"first port", "COM1", {}, {}, "/dev/ttyS0"},
        {"setting", "COM2", {}, "/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"environment wins", "COM2", "/dev/pts/7", "/dev/ttyUSB0", "/dev/pts/7"},
        {"empty setting is no setting", "COM2", {}, "  ", "/dev/ttyS1"},
        {"lower case", "com2", {}, "/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"a path stays", "/dev/ttyACM0", "/dev/pts/7", {}, "/dev/ttyACM0"},
        {"COM0 is no port number", "COM0", {}, {}, "COM0"},
    };
    for (const Case& c : cases) {
        MemorySettingsBackend settings;
        if (c.setting.isValid()) settings.set(Scope::User, "SerialPorts/COM2", c.setting);
        if (c.env.isEmpty())
            qunsetenv("ZOLT_COM2");
        else
            qputenv("ZOLT_COM2", c.env);
        EXPECT_EQ(ResolveComPort(c.port, &settings), c.expected) << c.name;
    }
    qunsetenv("ZOLT_COM2");
}

TEST(ComPort, SelectPortKeepsToComOneToSix) {
    TZoltPtr<TSerZolt> device(new TSerZolt(4, true));
    EXPECT_EQ(device->PortName, "COM4");
    const std::pair<int, const char*> cases[] = {{2, "COM2"}, {6, "COM6"}, {1, "COM1"},
                                                 {9, "COM1"}, {0, "COM1"}, {-3, "COM1"}};
    for (const auto& [n, name] : cases) {
        device->SelectPort(n);
        EXPECT_EQ(device->PortName, name) << n;
    }
}

} // namespace
