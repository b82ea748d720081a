#include "devices/com_port.h"

#include "platform/settings_backend.h"

#include <QRegularExpression>

QString ResolveComPort(const QString& portName, SettingsBackend* settings) {
    static const QRegularExpression pattern(QStringLiteral("^COM([0-9]{1,3})$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const auto match = pattern.match(portName.trimmed());
    if (!match.hasMatch()) return portName;
    const int n = match.captured(1).toInt();
    if (n < 1) return portName;
    const QString name = QStringLiteral("COM%1").arg(n);

    const QString fromEnv = qEnvironmentVariable(qPrintable(QStringLiteral("ZOLT_") + name));
    if (!fromEnv.isEmpty()) return fromEnv;

    std::unique_ptr<QSettingsBackend> ownSettings;
    if (!settings) {
        ownSettings = std::make_unique<QSettingsBackend>();
        settings = ownSettings.get();
    }
    const auto fromSettings =
        settings->readString(SettingsBackend::Scope::User, QStringLiteral("SerialPorts/") + name);
    if (fromSettings && !fromSettings->trimmed().isEmpty()) return fromSettings->trimmed();

    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
}
