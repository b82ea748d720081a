#pragma once

#include "analysis/analyse_bereich.h"

#include <QByteArray>

#include <vector>

// The analysis definition file (.adef): a Windows-style ini text in Windows-1252, one
// section per range named after it, six integer keys per section.
//
// Reading follows the Windows profile functions: sections come back in file order,
// section and key names are compared without case, a repeated section merges into the
// first one and later keys win, a missing or unreadable key takes its default.
std::vector<TAnalyseBereich> ParseAnalyseDefinition(const QByteArray& content);

// Writes the ranges in list order. Ranges whose names differ only in case share one
// section (the first one's place, the later one's values), as they would in Windows.
QByteArray WriteAnalyseDefinition(const std::vector<TAnalyseBereich>& ranges);
