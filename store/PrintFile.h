#pragma once

#include "common/Result.h"
#include "language/Line.h"

#include <QString>

namespace tapwise {

class SequenceStore;

inline constexpr char PrintFileName[] = "TapwisePrt.txt";

// The plain-text listing of a Key sequence, every line ended by CR LF: a
// title, the description, then one line per line of the sequence with its
// Keys in 44 columns and its WaitTime in 10 (blank for command lines), and
// a marker on the lines that are never executed.
QString PrintText(const QString& description, const Lines& lines);

// Writes the listing of the record at a position into "TapwisePrt.txt" in
// the data folder, in Windows-1252, and gives the file's path.
Result<QString> WritePrintFile(SequenceStore& store, qint32 position);

} // namespace tapwise
