#pragma once

#include <QByteArray>
#include <QString>

// Files hold text as Windows-1252 bytes. The five bytes the code page leaves undefined
// map to the C1 control characters of the same value, so every byte string survives a
// round trip. Characters outside the code page become "?".
QByteArray toWin1252(const QString& text);
QString fromWin1252(const QByteArray& bytes);
QString fromWin1252(const char* data, qsizetype size);
