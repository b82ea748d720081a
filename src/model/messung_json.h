#pragma once

#include <QByteArray>
#include <QString>

class TMessungInfo;

// A measurement as JSON, for scripts and the command-line tool. Everything a measurement
// file holds is there except the password, of which only "Protected" tells; reading the
// JSON back and saving gives the file it came from, byte for byte.
QByteArray MessungToJson(const TMessungInfo& m, bool withRows);

// Fills a freshly created measurement from JSON written by MessungToJson (with rows).
// Returns an empty string on success, else what is wrong (the measurement may then hold
// part of the data). A protected measurement cannot be read back: its password is not
// in the JSON, and dropping the protection silently is not an option.
QString MessungFromJson(const QByteArray& json, TMessungInfo& m);

// The start time as a wall-clock ISO 8601 text ("2008-06-19T14:32:05.000"); empty when
// the value is no date.
QString OleDateToIso(double ole);
