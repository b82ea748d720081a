#include "settings/measurement_protection.h"

#include "model/messung_info.h"
#include "platform/dialogs.h"
#include "settings/global_unit.h"
#include "settings/global_vars.h"

bool MeasurementProtection::Protect(TMessungInfo& measurement, const TGlobalVars& settings) {
    if (measurement.Password.isEmpty() && !settings.MasterPW().isEmpty()) {
        for (;;) {
            const auto entry = dialogs().inputText(
                tr("Passwort eingeben"), tr("Bitte Master-Passwort eingeben:"), QString(), true);
            if (!entry) return false;
            if (EncodePassword(*entry) == settings.MasterPW()) break;
        }
    }
    // Shown in clear: a mistyped password nobody saw would lock the measurement for good.
    const auto password = dialogs().inputText(
        tr("Passwort eingeben"), tr("Bitte geben Sie ein neues Passwort für die Messung ein:"),
        QString(), false);
    if (!password) return false;
    measurement.SetInfoField(4, *password);
    return measurement.Password == EncodePassword(*password);
}

bool MeasurementProtection::DeleteChannel(TMessungInfo& measurement, int channel) {
    if (channel < 0 || channel >= measurement.ChannelCount()) return false;
    if (!dialogs().confirm(tr("Wollen Sie die markierte Messreihe wirklich löschen?"),
                           Dialogs::Answer::No))
        return false;
    if (!measurement.Password.isEmpty()) {
        QString last; // the field keeps the previous entry between attempts
        for (;;) {
            const auto entry =
                dialogs().inputText(tr("Passwort eingeben"),
                                    tr("Bitte geben Sie das gültige Passwort ein:"), last, true);
            if (!entry) return false;
            if (EncodePassword(*entry) == measurement.Password) break;
            last = *entry;
        }
    }
    measurement.DeleteChannel(channel);
    return true;
}

MeasurementProtection::MasterChange
MeasurementProtection::ChangeMasterPassword(TGlobalVars& settings, const QString& oldPassword,
                                            const QString& newPassword,
                                            const QString& confirmation) {
    if (EncodePassword(oldPassword) != settings.MasterPW()) {
        dialogs().warning(tr("Info"), tr("Das alte Hauptkennwort ist nicht korrekt!"));
        return MasterChange::WrongOldPassword;
    }
    if (newPassword != confirmation) {
        dialogs().warning(tr("Info"),
                          tr("Die beiden eingegebenen neuen Passwörter stimmen nicht überein!"));
        return MasterChange::Mismatch;
    }
    settings.SetMasterPW(EncodePassword(newPassword));
    dialogs().info(tr("Das Hauptkennwort wurde erfolgreich geändert!"));
    return MasterChange::Changed;
}
