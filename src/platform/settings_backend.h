#pragma once

#include <QString>
#include <QVariant>

#include <map>
#include <memory>
#include <optional>

class QSettings;

// Where the settings object keeps its values: a per-user store for the integers and a
// machine-wide store for the master password.
class SettingsBackend {
public:
    enum class Scope { User, System };

    virtual ~SettingsBackend() = default;
    // Nothing when the value is missing or is not a 32-bit integer.
    virtual std::optional<qint32> readInt(Scope scope, const QString& name) = 0;
    // Nothing when the value is missing.
    virtual std::optional<QString> readString(Scope scope, const QString& name) = 0;
    // False when the store refused the write.
    virtual bool writeInt(Scope scope, const QString& name, qint32 value) = 0;
    virtual bool writeString(Scope scope, const QString& name, const QString& value) = 0;
};

// QSettings under "Trelwin/Zolt": user scope for the integers, system scope for the rest.
class QSettingsBackend : public SettingsBackend {
public:
    QSettingsBackend();
    // Explicit files, for tests and portable installations.
    QSettingsBackend(const QString& userFile, const QString& systemFile);
    ~QSettingsBackend() override;

    std::optional<qint32> readInt(Scope scope, const QString& name) override;
    std::optional<QString> readString(Scope scope, const QString& name) override;
    bool writeInt(Scope scope, const QString& name, qint32 value) override;
    bool writeString(Scope scope, const QString& name, const QString& value) override;

private:
    QSettings& store(Scope scope);
    std::unique_ptr<QSettings> user_;
    std::unique_ptr<QSettings> system_;
};

// Values kept in memory with their types, so a test can store a string where an
// integer belongs; a scope can be made to refuse writes.
class MemorySettingsBackend : public SettingsBackend {
public:
    std::optional<qint32> readInt(Scope scope, const QString& name) override;
    std::optional<QString> readString(Scope scope, const QString& name) override;
    bool writeInt(Scope scope, const QString& name, qint32 value) override;
    bool writeString(Scope scope, const QString& name, const QString& value) override;

    void set(Scope scope, const QString& name, const QVariant& value);
    QVariant get(Scope scope, const QString& name) const;
    void setReadOnly(Scope scope, bool readOnly);

private:
    std::map<std::pair<Scope, QString>, QVariant> values_;
    bool readOnly_[2] = {false, false};
};
