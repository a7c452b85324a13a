#pragma once

#include <QtGlobal>

class QWidget;

namespace tapwise {

class SequenceStore;
struct Settings;

// Opens the sequence editor modally over `parent`: for a new Key sequence
// when CurrentPosition is 0, otherwise for the stored one at that record
// position. True when the user saved; the saved record's position is then
// store.CurrentPosition() (a replaced Key sequence moves to the end of the
// store), so the caller reloads its list and selects that row. False when
// the user left with Exit, or when the record could not be read (the store's
// message has been shown).
bool OpenEditor(QWidget* parent, Settings& settings, SequenceStore& store, qint32 CurrentPosition);

} // namespace tapwise
