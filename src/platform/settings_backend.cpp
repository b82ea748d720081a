#include "platform/settings_backend.h"

#include <QSettings>

QSettingsBackend::QSettingsBackend()
    : user_(std::make_unique<QSettings>(QSettings::UserScope, QStringLiteral("Trelwin"),
                                        QStringLiteral("Zolt"))),
      system_(std::make_unique<QSettings>(QSettings::SystemScope, QStringLiteral("Trelwin"),
                                          QStringLiteral("Zolt"))) {}

QSettingsBackend::QSettingsBackend(const QString& userFile, const QString& systemFile)
    : user_(std::make_unique<QSettings>(userFile, QSettings::IniFormat)),
      system_(std::make_unique<QSettings>(systemFile, QSettings::IniFormat)) {}

QSettingsBackend::~QSettingsBackend() = default;

QSettings& QSettingsBackend::store(Scope scope) {
    return scope == Scope::User ? *user_ : *system_;
}

std::optional<qint32> QSettingsBackend::readInt(Scope scope, const QString& name) {
    const QVariant v = store(scope).value(name);
    if (!v.isValid()) return std::nullopt;
    bool ok = false;
    const qlonglong n = v.toString().trimmed().toLongLong(&ok);
    if (!ok || n < INT32_MIN || n > INT32_MAX) return std::nullopt;
    return static_cast<qint32>(n);
}

std::optional<QString> QSettingsBackend::readString(Scope scope, const QString& name) {
    const QVariant v = store(scope).value(name);
    if (!v.isValid()) return std::nullopt;
    return v.toString();
}

bool QSettingsBackend::writeInt(Scope scope, const QString& name, qint32 value) {
    QSettings& s = store(scope);
    s.setValue(name, value);
    s.sync();
    return s.status() == QSettings::NoError;
}

bool QSettingsBackend::writeString(Scope scope, const QString& name, const QString& value) {
    QSettings& s = store(scope);
    s.setValue(name, value);
    s.sync();
    return s.status() == QSettings::NoError;
}

std::optional<qint32> MemorySettingsBackend::readInt(Scope scope, const QString& name) {
    const QVariant v = get(scope, name);
    if (v.typeId() != QMetaType::Int) return std::nullopt;
    return v.toInt();
}

std::optional<QString> MemorySettingsBackend::readString(Scope scope, const QString& name) {
    const QVariant v = get(scope, name);
    if (v.typeId() != QMetaType::QString) return std::nullopt;
    return v.toString();
}

bool MemorySettingsBackend::writeInt(Scope scope, const QString& name, qint32 value) {
    if (readOnly_[static_cast<int>(scope)]) return false;
    set(scope, name, QVariant(value));
    return true;
}

bool MemorySettingsBackend::writeString(Scope scope, const QString& name, const QString& value) {
    if (readOnly_[static_cast<int>(scope)]) return false;
    set(scope, name, QVariant(value));
    return true;
}

void MemorySettingsBackend::set(Scope scope, const QString& name, const QVariant& value) {
    values_[{scope, name}] = value;
}

QVariant MemorySettingsBackend::get(Scope scope, const QString& name) const {
    const auto it = values_.find({scope, name});
    return it == values_.end() ? QVariant() : it->second;
}

void MemorySettingsBackend::setReadOnly(Scope scope, bool readOnly) {
    readOnly_[static_cast<int>(scope)] = readOnly;
}
