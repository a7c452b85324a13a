#pragma once

#include "workbook/CompoundFile.h"

#include <QByteArray>

#include <vector>

namespace tapwise {

// Writes a compound file of 512-byte sectors: streams below 4096 bytes go
// into the mini stream, the directory of each storage is a balanced tree.
class CompoundFileWriter {
public:
    // A storage must come before the entries inside it; an entry whose
    // storage is missing lands in the root.
    static QByteArray write(const std::vector<CompoundFile::Entry>& entries);
};

} // namespace tapwise
