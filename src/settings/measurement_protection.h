#pragma once

#include <QCoreApplication>
#include <QString>

class TGlobalVars;
class TMessungInfo;

// Password protection of measurements and the master password. Every question goes
// through dialogs(); passwords are only ever compared encoded.
class MeasurementProtection {
    Q_DECLARE_TR_FUNCTIONS(MeasurementProtection)

public:
    // "Messung schützen": an unprotected measurement first needs the master password
    // (when one is set), then the new password is asked for and passed through the
    // measurement's own gate (which wants the current password of a protected one).
    // An empty new password removes the protection. True when the measurement now
    // carries the new password; false when a prompt was cancelled.
    static bool Protect(TMessungInfo& measurement, const TGlobalVars& settings);

    // "Messreihe löschen": confirms, then asks for the measurement's password when it has
    // one, then deletes the channel. True when it was deleted; the caller rebuilds its
    // views then. An index outside the channels asks nothing and deletes nothing.
    static bool DeleteChannel(TMessungInfo& measurement, int channel);

    enum class MasterChange { Changed, WrongOldPassword, Mismatch };
    // The OK button of the master password dialog, with the texts of its three fields.
    // Shows the outcome; the dialog closes only on Changed. An empty new password removes
    // the master password.
    static MasterChange ChangeMasterPassword(TGlobalVars& settings, const QString& oldPassword,
                                             const QString& newPassword,
                                             const QString& confirmation);
};
