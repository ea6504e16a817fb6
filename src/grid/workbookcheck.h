#pragma once

#include <QString>

/// Reads back a workbook just written, before it is put in place. The XLSX library does not
/// notice when a write into its own temporary files fails (a full disk, a file-size limit): it
/// packs what it could write and reports success. A part cut short is no longer well-formed
/// XML, and rows lost from the sheet are missing from its count.
namespace WorkbookCheck {

/// True when the zip file at `path` holds intact entries, each XML part well-formed, and its
/// first worksheet `rows` rows; otherwise false, with what is wrong in `error` (English, for
/// the log and the message's reason).
bool isComplete(const QString &path, qsizetype rows, QString *error);

} // namespace WorkbookCheck
