#include "settings/global_vars.h"

#include "support/qt_printers.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using Scope = SettingsBackend::Scope;

TEST(GlobalVars, DefaultsWithoutStoredValues) {
    MemorySettingsBackend store;
    std::vector<bool> prepare;
    int asked = 0;
    {
        TGlobalVars g(store, [&]() -> std::optional<int> { ++asked; return 9; },
                      [&](bool on) { prepare.push_back(on); });
        EXPECT_EQ(g.ZoltType(), 1);
        EXPECT_EQ(g.ZoltMode(), 0);
        EXPECT_EQ(g.COMPort(), 1);
        EXPECT_EQ(g.MeasInterval(), 500);
        EXPECT_EQ(g.MeasDuration(), 0);
        EXPECT_EQ(g.StdMaxX(), 10);
        EXPECT_EQ(g.TCLabel(), 1);
        EXPECT_TRUE(g.MasterPW().isEmpty());
        EXPECT_EQ(g.LocaleID(), 9) << "the language chosen at first start";
        EXPECT_FALSE(g.PrepareEnabled());
        ASSERT_FALSE(prepare.empty());
        EXPECT_FALSE(prepare.back());
    }
    EXPECT_EQ(asked, 1);
    // Saved on destruction, the integers per user and the master password machine-wide.
    EXPECT_EQ(store.get(Scope::User, "MeasInterval"), QVariant(500));
    EXPECT_EQ(store.get(Scope::User, "LocaleID"), QVariant(9));
    EXPECT_EQ(store.get(Scope::System, "MasterPW"), QVariant(QString()));

    // A stored language is not asked for again.
    TGlobalVars again(store, [&]() -> std::optional<int> { ++asked; return 7; });
    EXPECT_EQ(again.LocaleID(), 9);
    EXPECT_EQ(asked, 1);
}

TEST(GlobalVars, TypeAndModeRules) {
    MemorySettingsBackend store;
    store.set(Scope::User, "ZoltType", 0);
    store.set(Scope::User, "ZoltMode", 1);
    store.set(Scope::User, "MeasInterval", QString("250")); // a string, not an integer
    bool prepare = true;
    TGlobalVars g(store, {}, [&](bool on) { prepare = on; });
    EXPECT_EQ(g.ZoltType(), 0);
    EXPECT_EQ(g.ZoltMode(), 1) << "the mode is read after the type";
    EXPECT_EQ(g.MeasInterval(), 500);
    EXPECT_EQ(g.LocaleID(), 0);
    EXPECT_FALSE(prepare);

    g.SetZoltType(1);
    EXPECT_TRUE(prepare) << "318.14 in memory mode";
    g.SetZoltMode(0);
    EXPECT_FALSE(prepare);
    g.SetZoltMode(1);
    EXPECT_TRUE(prepare);
    g.SetZoltType(0);
    EXPECT_EQ(g.ZoltMode(), 0) << "the first USB model has no memory";
    EXPECT_FALSE(prepare);
    g.SetZoltType(2);
    g.SetZoltMode(1);
    EXPECT_TRUE(g.PrepareEnabled());
}

TEST(GlobalVars, FailedWritesAreSilentAndIndependent) {
    MemorySettingsBackend store;
    store.setReadOnly(Scope::User, true);
    {
        TGlobalVars g(store);
        g.SetMasterPW(QByteArray("\x61\xff\x21", 3));
        g.SetCOMPort(3);
    }
    EXPECT_FALSE(store.get(Scope::User, "COMPort").isValid());
    EXPECT_EQ(store.get(Scope::System, "MasterPW").toString().toLatin1(),
              QByteArray("\x61\xff\x21", 3));
}

TEST(GlobalVars, QSettingsStoreRoundTrip) {
    QTemporaryDir dir;
    const QString user = dir.filePath("user.ini"), system = dir.filePath("system.ini");
    {
        QSettingsBackend store(user, system);
        TGlobalVars g(store);
        g.SetZoltType(2);
        g.SetZoltMode(1);
        g.SetMeasDuration(60000);
        g.SetMasterPW(QByteArray("\x63\x21\xff\x9d", 4));
    }
    QSettingsBackend store(user, system);
    TGlobalVars g(store);
    EXPECT_EQ(g.ZoltType(), 2);
    EXPECT_EQ(g.ZoltMode(), 1);
    EXPECT_EQ(g.MeasDuration(), 60000);
    EXPECT_EQ(g.MasterPW(), QByteArray("\x63\x21\xff\x9d", 4));
    EXPECT_EQ(store.readInt(Scope::User, "Missing"), std::nullopt);
}
