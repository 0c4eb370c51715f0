// The seam through which the colouring state of the rows is kept up to date after every change of the text.
#pragma once

#include "editor/RowAttribute.h"

class TEditorStringList;

// The store calls UpdateStatesFrom after each ReplaceRows and after each undo or redo step (with the first row
// of the block that changed: rows the change left as they were keep their states), and RebuildStates after
// loading, after setting the whole text and after re-wrapping. The updater stores the states with
// SetRowAttributeData / SetElementIndex, may mark rows below its walk as not computed with ClearStatesFrom
// (O(1)), puts the number of rows whose state it stored into change.ChangedStates and, when it can tell, one
// past the last row whose state changed into change.StateRowsEnd. With no updater set there is no colouring and
// new rows stay not computed.
class RowStateUpdater {
public:
    virtual ~RowStateUpdater() = default;
    virtual void UpdateStatesFrom(TEditorStringList& rows, int row, ChangeRecord& change) = 0;
    virtual void RebuildStates(TEditorStringList& rows) = 0;
};
