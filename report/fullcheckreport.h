#pragma once

#include "boardtests/fullcheck.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace kia {

/// The full check as JSON for scripts (field names are a contract).
QJsonObject fullCheckJson(const FullCheckReport& report);
/// The full check as an HTML page (also the PDF's source).
QString fullCheckHtml(const FullCheckReport& report);
/// The summary as lines of text: one line per test with its verdict, the
/// places and conclusions indented below it, the totals last.
QStringList fullCheckSummary(const FullCheckReport& report);

/// Writes the report by the file's extension: .pdf, .html/.htm or .json,
/// atomically (a failed write leaves an older file as it was). False with
/// the reason in *error. PDF needs a QGuiApplication.
bool writeFullCheckReport(const FullCheckReport& report, const QString& path, QString* error);

} // namespace kia
