#pragma once

#include <QString>

#include <memory>
#include <optional>

class TMessungInfo;

// Reading and writing documents for zoltctl's commands; every problem is reported
// through dialogs() before they return.

enum class DocumentKind { Measurement, Reference, Text, Json };

// The kind of a file by its (lower-case) extension; nothing for any other.
std::optional<DocumentKind> DocumentKindOf(const QString& path);

// A .zolt, .mref or .json file; nullptr when it cannot be read.
std::unique_ptr<TMessungInfo> LoadDocument(const QString& path);

// The measurement as JSON with its rows (written atomically).
bool WriteDocumentJson(const TMessungInfo& doc, const QString& path);

// Writes a measurement to `path` in the form its extension names: .zolt, .txt (the text
// export) or .json.
bool SaveMeasurementAs(TMessungInfo& doc, const QString& path);
