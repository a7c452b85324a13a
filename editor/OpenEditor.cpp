#include "editor/OpenEditor.h"

#include "editor/EditorWindow.h"
#include "store/SequenceStore.h"

namespace tapwise {

bool OpenEditor(QWidget* parent, Settings& settings, SequenceStore& store, qint32 CurrentPosition) {
    EditorWindow editor(settings, store, parent);
    editor.setEntries(dialogLineEntries(&editor, settings));
    if (CurrentPosition == 0)
        editor.openNew();
    else if (!editor.openStored(CurrentPosition))
        return false;
    editor.exec();
    if (!editor.saved())
        return false;
    store.SetCurrentPosition(editor.savedPosition());
    return true;
}

} // namespace tapwise
