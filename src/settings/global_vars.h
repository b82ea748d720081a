#pragma once

#include "platform/settings_backend.h"

#include <QByteArray>
#include <QtGlobal>

#include <functional>
#include <optional>

// The program's one settings object: loaded when created, saved when destroyed.
class TGlobalVars {
public:
    // Asked when no language is stored yet; returns the chosen locale id, or nothing.
    using LanguageChooser = std::function<std::optional<int>()>;
    // Told whether "Messung vorbereiten" is to be enabled.
    using PrepareActionUpdate = std::function<void(bool enabled)>;

    explicit TGlobalVars(SettingsBackend& backend, LanguageChooser chooseLanguage = {},
                         PrepareActionUpdate prepareAction = {});
    ~TGlobalVars();
    TGlobalVars(const TGlobalVars&) = delete;
    TGlobalVars& operator=(const TGlobalVars&) = delete;

    quint8 ZoltType() const { return zoltType_; }
    quint8 ZoltMode() const { return zoltMode_; }
    qint32 COMPort() const { return comPort_; }
    qint32 MeasInterval() const { return measInterval_; }
    qint32 MeasDuration() const { return measDuration_; }
    qint32 StdMaxX() const { return stdMaxX_; }
    qint32 LocaleID() const { return localeId_; }
    quint8 TCLabel() const { return tcLabel_; }
    const QByteArray& MasterPW() const { return masterPw_; }

    void SetZoltType(quint8 type);
    void SetZoltMode(quint8 mode);
    void SetCOMPort(qint32 port) { comPort_ = port; }
    void SetMeasInterval(qint32 ms) { measInterval_ = ms; }
    void SetMeasDuration(qint32 ms) { measDuration_ = ms; }
    void SetStdMaxX(qint32 value) { stdMaxX_ = value; }
    void SetLocaleID(qint32 id) { localeId_ = id; }
    void SetTCLabel(quint8 placement) { tcLabel_ = placement; }
    void SetMasterPW(const QByteArray& encoded) { masterPw_ = encoded; }

    // Whether "Messung vorbereiten" applies: a memory-capable model in memory mode.
    bool PrepareEnabled() const { return zoltMode_ != 0 && zoltType_ != 0; }
    // The main window connects its action once it exists; it is updated at once.
    void SetPrepareActionUpdate(PrepareActionUpdate update);

    // Writes everything to the backend now; failures are ignored.
    void Save();

private:
    void Load(const LanguageChooser& chooseLanguage);
    void UpdatePrepareAction();

    SettingsBackend& backend_;
    PrepareActionUpdate prepareAction_;
    quint8 zoltType_ = 1;
    quint8 zoltMode_ = 0;
    qint32 comPort_ = 1;
    qint32 measInterval_ = 500;
    qint32 measDuration_ = 0;
    qint32 stdMaxX_ = 10;
    qint32 localeId_ = 0;
    quint8 tcLabel_ = 1;
    QByteArray masterPw_;
};
