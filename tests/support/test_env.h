#pragma once

#include <QLocale>
#include <QString>
#include <QTemporaryDir>

#include "settings/global_unit.h"

// The folder of test data files beside the tests.
inline QString testDataPath(const QString& relative) {
    return qEnvironmentVariable("ZOLT_TEST_DATA") + QLatin1Char('/') + relative;
}

// Puts ProgramFolder() into a fresh temporary folder for the scope.
class TemporaryProgramFolder {
public:
    TemporaryProgramFolder() { SetProgramFolderOverride(dir_.path()); }
    ~TemporaryProgramFolder() { SetProgramFolderOverride(QString()); }
    QString path(const QString& name = QString()) const {
        return name.isEmpty() ? dir_.path() : dir_.filePath(name);
    }

private:
    QTemporaryDir dir_;
};

// Sets the default locale for the scope (the German examples need ",").
class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale) : previous_(QLocale()) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(previous_); }

private:
    QLocale previous_;
};
inline QLocale germanLocale() { return QLocale(QLocale::German, QLocale::Germany); }
