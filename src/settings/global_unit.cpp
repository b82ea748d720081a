#include "settings/global_unit.h"

#include "platform/dialogs.h"
#include "platform/win1252.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QLocale>
#include <QMetaObject>
#include <QSettings>
#include <QUrl>

#include <array>

namespace {
// Gives lupdate and the translator the same context for this file's texts.
struct GlobalUnitTexts {
    Q_DECLARE_TR_FUNCTIONS(GlobalUnit)
};

QString& programFolderOverride() {
    static QString folder;
    return folder;
}

std::function<bool(const QString&)>& documentOpener() {
    static std::function<bool(const QString&)> opener;
    return opener;
}

QString withSlash(QString folder) {
    while (folder.endsWith(QLatin1Char('/'))) folder.chop(1);
    return folder + QLatin1Char('/');
}

QString geometryFile() { return ProgramFolder() + QStringLiteral("zolt3.ini"); }
} // namespace

QByteArray EncodePassword(const QString& text) {
    const QByteArray s = toWin1252(text);
    QByteArray code;
    if (s.isEmpty()) return code;
    code.reserve(s.size() * 2);
    code.append(s.at(0));
    for (qsizetype i = 1; i < s.size(); ++i) {
        const int a = static_cast<unsigned char>(s.at(i - 1));
        const int b = static_cast<unsigned char>(s.at(i));
        const int d = a - b;
        if (d >= 0) {
            code.append(static_cast<char>((d + 32) % 256));
        } else {
            code.append(static_cast<char>(0xFF));
            code.append(static_cast<char>((-d + 32) % 256));
        }
    }
    return code;
}

QString ProgramFolder() {
    if (!programFolderOverride().isEmpty()) return programFolderOverride();
    QString dir;
    if (QCoreApplication::instance())
        dir = QCoreApplication::applicationDirPath();
    else
        dir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    return withSlash(dir);
}

void SetProgramFolderOverride(const QString& folder) {
    programFolderOverride() = folder.isEmpty() ? QString() : withSlash(folder);
}

WindowGeometry LoadWindowGeometry(const QString& windowName) {
    QSettings ini(geometryFile(), QSettings::IniFormat);
    ini.beginGroup(windowName);
    WindowGeometry g;
    g.top = ini.value(QStringLiteral("Top"), 0).toInt();
    g.left = ini.value(QStringLiteral("Left"), 0).toInt();
    g.width = ini.value(QStringLiteral("Width"), 800).toInt();
    g.height = ini.value(QStringLiteral("Height"), 600).toInt();
    return g;
}

void SaveWindowGeometry(const QString& windowName, int top, int left, int width, int height) {
    QSettings ini(geometryFile(), QSettings::IniFormat);
    ini.beginGroup(windowName);
    ini.setValue(QStringLiteral("Top"), static_cast<qint16>(top));
    ini.setValue(QStringLiteral("Left"), static_cast<qint16>(left));
    ini.setValue(QStringLiteral("Width"), static_cast<qint16>(width));
    ini.setValue(QStringLiteral("Height"), static_cast<qint16>(height));
    ini.endGroup();
    ini.sync();
}

double ParseNumber(const QString& text) {
    QString kept;
    for (const QChar c : text)
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char(','))
            kept.append(c);
    if (kept.isEmpty()) return 0;
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = locale.toDouble(kept, &ok);
    return ok ? value : 0;
}

void ShowInvalidNumber(QObject* edit) {
    dialogs().message(
        GlobalUnitTexts::tr("Fehler"), GlobalUnitTexts::tr("Ungültige Fließkommazahl eingegeben!"),
        Dialogs::Icon::Warning, Dialogs::Buttons::Ok, Dialogs::Answer::Ok, Dialogs::Owner::None);
    if (edit) {
        QMetaObject::invokeMethod(edit, "setFocus");
        QMetaObject::invokeMethod(edit, "selectAll");
    }
}

bool ConfirmDiscardChanges() {
    return !dialogs().confirm(
        GlobalUnitTexts::tr("Wenn Sie dieses Fenster schließen, gehen Ihre Änderungen "
                            "verloren.\nWollen Sie dennoch fortfahren und Ihre Änderungen "
                            "verwerfen?"),
        Dialogs::Answer::No);
}

QString LongTimeText(const QTime& time) {
    const QLocale locale;
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString kept;
    bool quoted = false;
    for (const QChar ch : format) {
        if (ch == QLatin1Char('\'')) quoted = !quoted;
        if (!quoted && ch == QLatin1Char('t')) continue;
        kept += ch;
    }
    return locale.toString(time, kept.simplified());
}

QColor ChannelColor(int index) {
    static constexpr std::array<std::array<int, 3>, 13> table = {{{255, 0, 0},
                                                                  {0, 128, 0},
                                                                  {0, 0, 255},
                                                                  {255, 255, 0},
                                                                  {128, 0, 0},
                                                                  {128, 128, 0},
                                                                  {0, 255, 0},
                                                                  {128, 0, 128},
                                                                  {255, 0, 255},
                                                                  {0, 128, 128},
                                                                  {0, 255, 255},
                                                                  {255, 255, 255},
                                                                  {0, 0, 128}}};
    if (index < 0 || index >= static_cast<int>(table.size())) return QColor(0, 0, 0);
    const auto& c = table[index];
    return QColor(c[0], c[1], c[2]);
}

quint32 ToColorRef(const QColor& color) {
    return static_cast<quint32>(color.red()) | (static_cast<quint32>(color.green()) << 8) |
           (static_cast<quint32>(color.blue()) << 16);
}

QColor FromColorRef(quint32 colorRef) {
    return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

QString RtfColorEntry(const QColor& color) {
    const quint32 ref = ToColorRef(color);
    return QStringLiteral("\\red%1\\green%2\\blue%3;")
        .arg(ref & 0xFF)
        .arg((ref >> 8) & 0xFF)
        .arg((ref >> 16) & 0xFF);
}

QString ReportErrorName(int code) {
    struct Entry {
        int code;
        const char* name;
    };
    static constexpr Entry names[] = {
        {-1, "BAD_JOBHANDLE"},     {-2, "TASK_ACTIVE"},         {-3, "BAD_OBJECTTYPE"},
        {-4, "PRINTING_JOB"},      {-5, "NO_BOX"},              {-6, "ALREADY_PRITING"},
        {-7, "NOT_YET_PRINTING"},  {-10, "NO_PROJECT"},         {-11, "NO_PRINTER"},
        {-12, "PRINTING"},         {-13, "ONLY_ONE_JOB"},       {-14, "NEEDS_VB"},
        {-15, "BAD_PRINTER"},      {-16, "NO_PREVIEWMODE"},     {-17, "NO_PREVIEWFILES"},
        {-18, "PARAMETER"},        {-19, "BAD_EXPRESSION"},     {-20, "BAD_EXPRMODE"},
        {-22, "CFGNOTFOUND"},      {-23, "EXPRESSION"},         {-24, "CFGBADFILE"},
        {-25, "BADOBJNAME"},       {-27, "UNKNOWNOBJECT"},      {-28, "NO_TABLEOBJECT"},
        {-29, "NO_OBJECT"},        {-30, "NO_TEXTOBJECT"},      {-31, "UNKNOWN"},
        {-32, "BAD_MODE"},         {-33, "CFGBADMODE"},         {-34, "ONLYWITHONETABLE"},
        {-35, "UNKNOWNVARIABLE"},  {-36, "UNKNOWNFIELD"},       {-37, "UNKNOWNSORTODER"},
        {-38, "NOPRINTERCFG"},     {-39, "SAVEPRINTERCFG"},     {-40, "RESERVED"},
        {-41, "NOVALIDPAGES"},     {-42, "NOTINHOSTPRINTERMODE"}, {-43, "NOTFINISHED"},
        {-44, "BUFFERTOOSMALL"},   {-45, "BADCODEPAGE"},        {-46, "CANNOTCREATETEMPFILE"},
        {-47, "NODESTINATION"},    {-99, "USER_ABORTED"},       {-100, "BAD_DLLS"},
        {-101, "NO_LANG_DLL"},     {-102, "NO_MEMORY"},         {-104, "EXCEPTION"},
    };
    for (const Entry& e : names)
        if (e.code == code) return QString::fromLatin1(e.name);
    return QStringLiteral("unknown LL error encountered!");
}

void ShowReportError(int code) {
    dialogs().message(GlobalUnitTexts::tr("Fehler beim Drucken"),
                      GlobalUnitTexts::tr("Fehler beim Drucken. LL-Fehlercode=%1 (%2). ")
                          .arg(code)
                          .arg(ReportErrorName(code)),
                      Dialogs::Icon::Error, Dialogs::Buttons::Ok, Dialogs::Answer::Ok,
                      Dialogs::Owner::ActiveWindow);
}

void OpenDocument(QObject*, const QString& fileName) {
    if (documentOpener())
        documentOpener()(fileName);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(fileName));
}

void SetDocumentOpener(std::function<bool(const QString&)> opener) {
    documentOpener() = std::move(opener);
}

int WindowsVersionClass() { return 5; }

void RightJustifyMenuItem(QObject*, int) {}
