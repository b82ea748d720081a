#include "settings/measurement_protection.h"

#include "model/messung_info.h"
#include "settings/global_unit.h"
#include "settings/global_vars.h"
#include "support/qt_printers.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace {
using Answer = Dialogs::Answer;
using Kind = ScriptedDialogs::Kind;
using Change = MeasurementProtection::MasterChange;

const QString kMasterPrompt = "Bitte Master-Passwort eingeben:";
const QString kNewPrompt = "Bitte geben Sie ein neues Passwort für die Messung ein:";
const QString kGatePrompt =
    "Bitte geben Sie das gültige Passwort an, um den Wert für \"Passwort\" zu übernehmen:";
const QString kDeletePrompt = "Bitte geben Sie das gültige Passwort ein:";

QStringList prompts(const ScriptedDialogs& d) {
    QStringList out;
    for (const auto& c : d.calls()) {
        EXPECT_EQ(c.caption, c.kind == Kind::Input ? "Passwort eingeben" : "Bestätigen");
        out << c.text;
    }
    return out;
}

struct Settings {
    MemorySettingsBackend store;
    TGlobalVars vars{store};
};
} // namespace

TEST(MeasurementProtection, ProtectWithoutMasterAsksOnlyForTheNewPassword) {
    Settings s;
    TMessungInfo m;
    ScopedScriptedDialogs d;
    d.text("geheim");
    EXPECT_TRUE(MeasurementProtection::Protect(m, s.vars));
    EXPECT_EQ(prompts(d), QStringList{kNewPrompt});
    EXPECT_EQ(m.Password, EncodePassword("geheim"));
}

TEST(MeasurementProtection, ProtectAsksForTheMasterUntilItMatches) {
    Settings s;
    s.vars.SetMasterPW(EncodePassword("Chef"));
    TMessungInfo m;
    ScopedScriptedDialogs d;
    d.text("chef").text("Chef").text("geheim"); // case matters
    EXPECT_TRUE(MeasurementProtection::Protect(m, s.vars));
    EXPECT_EQ(prompts(d), QStringList({kMasterPrompt, kMasterPrompt, kNewPrompt}));
    EXPECT_TRUE(d.calls()[0].masked);
    EXPECT_TRUE(d.calls()[1].proposed.isEmpty()) << "the entry starts empty each time";
    EXPECT_EQ(m.Password, EncodePassword("geheim"));

    // Cancel at either question leaves the measurement as it was.
    TMessungInfo n;
    d.clear();
    d.text("falsch").cancelInput();
    EXPECT_FALSE(MeasurementProtection::Protect(n, s.vars));
    d.text("Chef").cancelInput();
    EXPECT_FALSE(MeasurementProtection::Protect(n, s.vars));
    EXPECT_TRUE(n.Password.isEmpty());
}

TEST(MeasurementProtection, ProtectedMeasurementWantsItsOwnPasswordNotTheMaster) {
    Settings s;
    s.vars.SetMasterPW(EncodePassword("Chef"));
    TMessungInfo m;
    m.Password = EncodePassword("alt");
    ScopedScriptedDialogs d;
    d.text("neu").text("Chef").text("alt");
    EXPECT_TRUE(MeasurementProtection::Protect(m, s.vars));
    EXPECT_EQ(prompts(d), QStringList({kNewPrompt, kGatePrompt, kGatePrompt}));
    EXPECT_EQ(m.Password, EncodePassword("neu"));

    // Cancelling the gate keeps the old password; an empty one unprotects.
    d.clear();
    d.text("anders").cancelInput();
    EXPECT_FALSE(MeasurementProtection::Protect(m, s.vars));
    EXPECT_EQ(m.Password, EncodePassword("neu"));
    d.text("").text("neu");
    EXPECT_TRUE(MeasurementProtection::Protect(m, s.vars));
    EXPECT_TRUE(m.Password.isEmpty());
}

TEST(MeasurementProtection, DeletingAChannel) {
    auto measurement = [](TMessungInfo& m) {
        m.SetChannelCount(3);
        m.GetChannel(1)->Name = "Mitte";
        ASSERT_TRUE(m.AddRow({0, 10, 20, 30, 1}));
    };
    ScopedScriptedDialogs d;
    {
        TMessungInfo m;
        measurement(m);
        d.answer(Answer::No);
        EXPECT_FALSE(MeasurementProtection::DeleteChannel(m, 1));
        ASSERT_EQ(d.calls().size(), 1u);
        EXPECT_EQ(d.last().text, "Wollen Sie die markierte Messreihe wirklich löschen?");
        EXPECT_EQ(d.last().buttons, Dialogs::Buttons::YesNo);
        EXPECT_EQ(d.last().defaultAnswer, Answer::No);
        EXPECT_EQ(d.last().icon, Dialogs::Icon::Question);
        EXPECT_EQ(m.ChannelCount(), 3);

        d.answer(Answer::Yes);
        EXPECT_TRUE(MeasurementProtection::DeleteChannel(m, 1));
        EXPECT_EQ(d.calls().size(), 2u) << "an unprotected measurement asks no password";
        EXPECT_EQ(m.ChannelCount(), 2);
        EXPECT_EQ(m.GetRow(0), TDataRow({0, 10, 30, 1}));

        d.clear();
        EXPECT_FALSE(MeasurementProtection::DeleteChannel(m, 2));
        EXPECT_TRUE(d.calls().empty()) << "no such channel, no questions";
    }
    {
        TMessungInfo m;
        measurement(m);
        m.Password = EncodePassword("Geheim");
        d.clear();
        d.answer(Answer::Yes).text("geheim").text("Geheim");
        EXPECT_TRUE(MeasurementProtection::DeleteChannel(m, 0));
        EXPECT_EQ(prompts(d), QStringList({"Wollen Sie die markierte Messreihe wirklich löschen?",
                                           kDeletePrompt, kDeletePrompt}));
        EXPECT_EQ(d.calls()[2].proposed, "geheim") << "the field keeps the last entry";
        EXPECT_EQ(m.ChannelCount(), 2);

        d.clear();
        d.answer(Answer::Yes).cancelInput();
        EXPECT_FALSE(MeasurementProtection::DeleteChannel(m, 0));
        EXPECT_EQ(m.ChannelCount(), 2);
    }
}

TEST(MeasurementProtection, ChangingTheMasterPassword) {
    Settings s;
    ScopedScriptedDialogs d;
    auto lastMessage = [&] {
        const auto m = d.messages();
        return m.empty() ? QString() : m.back().caption + ": " + m.back().text;
    };

    // No master yet: an empty old password is right.
    EXPECT_EQ(MeasurementProtection::ChangeMasterPassword(s.vars, "", "Chef", "Chef"),
              Change::Changed);
    EXPECT_EQ(lastMessage(), "Info: Das Hauptkennwort wurde erfolgreich geändert!");
    EXPECT_EQ(d.messages().back().icon, Dialogs::Icon::Information);
    EXPECT_EQ(s.vars.MasterPW(), EncodePassword("Chef"));

    EXPECT_EQ(MeasurementProtection::ChangeMasterPassword(s.vars, "", "x", "x"),
              Change::WrongOldPassword);
    EXPECT_EQ(lastMessage(), "Info: Das alte Hauptkennwort ist nicht korrekt!");
    EXPECT_EQ(d.messages().back().icon, Dialogs::Icon::Warning);

    EXPECT_EQ(MeasurementProtection::ChangeMasterPassword(s.vars, "Chef", "Neu", "neu"),
              Change::Mismatch);
    EXPECT_EQ(lastMessage(),
              "Info: Die beiden eingegebenen neuen Passwörter stimmen nicht überein!");
    EXPECT_EQ(d.messages().back().icon, Dialogs::Icon::Warning);
    EXPECT_EQ(s.vars.MasterPW(), EncodePassword("Chef"));

    // Both new fields empty: no master password any more, so protecting asks only for
    // the new measurement password.
    EXPECT_EQ(MeasurementProtection::ChangeMasterPassword(s.vars, "Chef", "", ""), Change::Changed);
    EXPECT_TRUE(s.vars.MasterPW().isEmpty());
    TMessungInfo m;
    d.clear();
    d.text("pw");
    EXPECT_TRUE(MeasurementProtection::Protect(m, s.vars));
    EXPECT_EQ(prompts(d), QStringList{kNewPrompt});
}
