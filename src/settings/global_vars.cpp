#include "settings/global_vars.h"

using Scope = SettingsBackend::Scope;

TGlobalVars::TGlobalVars(SettingsBackend& backend, LanguageChooser chooseLanguage,
                         PrepareActionUpdate prepareAction)
    : backend_(backend), prepareAction_(std::move(prepareAction)) {
    Load(chooseLanguage);
}

TGlobalVars::~TGlobalVars() { Save(); }

void TGlobalVars::Load(const LanguageChooser& chooseLanguage) {
    auto read = [this](const char* name, qint32 fallback) {
        return backend_.readInt(Scope::User, QString::fromLatin1(name)).value_or(fallback);
    };
    // The mode is read after the type, so a stored type 0 with mode 1 stays so.
    SetZoltType(static_cast<quint8>(read("ZoltType", 1)));
    SetZoltMode(static_cast<quint8>(read("ZoltMode", 0)));
    SetCOMPort(read("COMPort", 1));
    SetMeasInterval(read("MeasInterval", 500));
    SetMeasDuration(read("MeasDuration", 0));
    SetStdMaxX(read("StdMaxX", 10));
    const auto locale = backend_.readInt(Scope::User, QStringLiteral("LocaleID"));
    SetLocaleID(locale.value_or(0));
    if (!locale && chooseLanguage) {
        if (const auto chosen = chooseLanguage()) SetLocaleID(*chosen);
    }
    SetTCLabel(static_cast<quint8>(read("TCLabel", 1)));
    // Kept as the bytes of the encoded password, one character per byte.
    const auto master = backend_.readString(Scope::System, QStringLiteral("MasterPW"));
    SetMasterPW(master ? master->toLatin1() : QByteArray());
}

void TGlobalVars::Save() {
    const std::pair<const char*, qint32> values[] = {
        {"ZoltType", zoltType_},         {"ZoltMode", zoltMode_}, {"COMPort", comPort_},
        {"MeasInterval", measInterval_}, {"MeasDuration", measDuration_},
        {"StdMaxX", stdMaxX_},           {"LocaleID", localeId_}, {"TCLabel", tcLabel_},
    };
    for (const auto& [name, value] : values)
        backend_.writeInt(Scope::User, QString::fromLatin1(name), value);
    backend_.writeString(Scope::System, QStringLiteral("MasterPW"),
                         QString::fromLatin1(masterPw_));
}

void TGlobalVars::SetZoltType(quint8 type) {
    if (type == 0) SetZoltMode(0);
    zoltType_ = type;
    UpdatePrepareAction();
}

void TGlobalVars::SetZoltMode(quint8 mode) {
    zoltMode_ = mode;
    UpdatePrepareAction();
}

void TGlobalVars::SetPrepareActionUpdate(PrepareActionUpdate update) {
    prepareAction_ = std::move(update);
    UpdatePrepareAction();
}

void TGlobalVars::UpdatePrepareAction() {
    if (prepareAction_) prepareAction_(PrepareEnabled());
}
