#pragma once

#include <QString>

class QWidget;

namespace tapwise {

struct Settings;

// The entry dialogs of the sequence editor. Each takes the editor's working
// Keys text EditorKeys as it stands (a picked entry such as "[PosMouse ...]",
// or the Keys of the row being updated, with or without the padding to 44
// characters) and gives the new EditorKeys: the finished Keys text, at most
// 44 characters and not padded (the caller pads it when it places the line),
// or "" when the user cancelled, in which case the caller changes nothing.
// All are modal; texts follow settings.Lang.

// Mouse position, movement or wheel ("[PosMouse ...]", "[MoveMouse ...]" or
// an existing "[PosMouse(x;y)]", "[MoveMouse(x;y)]", "[MoveWheel(n)]").
// For an update the row's Keys may be passed as they are or already carrying
// the update mark ("[PosMouse.100;200)]", "[MoveWheel.3;]"): both offer the
// line's values.
QString SetValues(QWidget* parent, const Settings& settings, const QString& EditorKeys);

// Pause remark, remark or character string, by the beginning of EditorKeys
// ("*Pause*...", "#**...", ":..."). sw = 1: update, the line's current text
// is offered; anything else: new entry, nothing offered.
QString Remark(QWidget* parent, const Settings& settings, const QString& EditorKeys, int sw);

// Label number ("*Label ...*" or an existing "*Label(n)*", whose number is
// offered).
QString LabelN(QWidget* parent, const Settings& settings, const QString& EditorKeys);

// The check dialog: "*Chk ...*" for a new line, or an existing check line
// (recognised by its ";"), whose values are offered.
QString AskCheck(QWidget* parent, const Settings& settings, const QString& EditorKeys);

// The condition dialog: "*If ...*" for a new line, or an existing condition
// line (recognised by its ";"), whose values are offered.
QString AskCondition(QWidget* parent, const Settings& settings, const QString& EditorKeys);

} // namespace tapwise
