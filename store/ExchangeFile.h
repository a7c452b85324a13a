#pragma once

#include "common/Result.h"

#include <QString>

namespace tapwise {

class SequenceStore;

// An exchange file (".tpw") holds exactly one record of the data file, byte
// for byte, so that a Key sequence can move to another data folder.

// Writes the record at a position to a file; an existing file is replaced
// only once the new one is complete.
Status ExportSequence(SequenceStore& store, qint32 position, const QString& file);

// Appends the record of an exchange file to the store and gives its position.
// A file whose header does not add up to its length, or holds a negative
// length, is refused with "Invalid '.tpw' file!" and changes nothing.
Result<qint32> ImportSequence(SequenceStore& store, const QString& file);

} // namespace tapwise
