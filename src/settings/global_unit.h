#pragma once

#include "model/data_row.h"

#include <QByteArray>
#include <QColor>
#include <QCoreApplication>
#include <QString>
#include <QTime>

#include <functional>

class QObject;

// The password encoding behind every password check; passwords are only ever compared
// in this form. Works on the Windows-1252 bytes of the text.
QByteArray EncodePassword(const QString& text);

// The program's folder with exactly one trailing "/".
QString ProgramFolder();
// Makes ProgramFolder() answer `folder` (tests, portable set-ups); empty restores it.
void SetProgramFolderOverride(const QString& folder);

// Window positions and sizes, one section per window in "zolt3.ini" beside the program.
struct WindowGeometry {
    int top = 0;
    int left = 0;
    int width = 800;
    int height = 600;
};
WindowGeometry LoadWindowGeometry(const QString& windowName);
void SaveWindowGeometry(const QString& windowName, int top, int left, int width, int height);

// Keeps only digits and "," and converts what is left in the user's number format;
// empty or unconvertible text gives 0.
double ParseNumber(const QString& text);
// "Ungültige Fließkommazahl eingegeben!"; then focuses and selects the edit, if given.
void ShowInvalidNumber(QObject* edit = nullptr);
// Asks whether to discard changes; true when the user answered No (keep the window).
bool ConfirmDiscardChanges();

// A time as the user's locale writes its long form, without the time zone Qt appends:
// hours, minutes and seconds ("14:32:05" in German).
QString LongTimeText(const QTime& time);

QColor ChannelColor(int index);
// Windows colour value 0x00BBGGRR, as stored in files.
quint32 ToColorRef(const QColor& color);
QColor FromColorRef(quint32 colorRef);
// "\red%d\green%d\blue%d;" for a rich-text colour table.
QString RtfColorEntry(const QColor& color);

QString ReportErrorName(int code);
void ShowReportError(int code);

// Opens a file with the program the desktop associates with it.
void OpenDocument(QObject* owner, const QString& fileName);
// Replaces how OpenDocument reaches the desktop (tests); an empty function restores it.
void SetDocumentOpener(std::function<bool(const QString&)> opener);

// 5: none of the Windows families this routine once told apart.
int WindowsVersionClass();
// Right-justifying a top-level menu is not a thing menu bars do here; nothing happens.
void RightJustifyMenuItem(QObject* window, int itemPosition);
