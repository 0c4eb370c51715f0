// What the row store needs of each editor attached to it: the caret, the focus, and the text-changed handling.
#pragma once

#include <functional>

#include "editor/RowAttribute.h"

class TEditorScreenStrings;

class EditorClient {
public:
    virtual ~EditorClient() = default;

    virtual int CaretRow() const = 0;
    virtual int CaretCol() const = 0;
    // Moves the caret (after undo and redo, after Lines edits); the editor normalises the column.
    virtual void SetCaretPos(int row, int col) = 0;
    virtual bool Focused() const { return false; }

    // After each change of the text while the store is not in update; a valid change record means the text
    // was edited (not loaded or set).
    virtual void StoreTextChanged(const ChangeRecord& change) = 0;
    // When the store's update ends: clamp the caret and the top row to the text.
    virtual void StoreUpdateEnded(const TEditorScreenStrings& store) = 0;
    // Lines.BeginUpdate / EndUpdate of this editor (hide the caret, switch repainting off and on).
    virtual void LinesUpdateBegin() {}
    virtual void LinesUpdateEnd() {}
};

// The portable part every editor shares: the caret position, Modified and OnChange.
class BasicEditorClient : public EditorClient {
public:
    int CaretRow() const override { return caretRow_; }
    int CaretCol() const override { return caretCol_; }
    void SetCaretPos(int row, int col) override;
    bool Focused() const override { return focused_; }
    void SetFocused(bool focused) noexcept { focused_ = focused; }

    void StoreTextChanged(const ChangeRecord& change) override;
    void StoreUpdateEnded(const TEditorScreenStrings& store) override;

    bool Modified() const noexcept { return modified_; }
    void SetModified(bool value) noexcept { modified_ = value; }
    std::function<void()> OnChange;

protected:
    int caretRow_ = 0;
    int caretCol_ = 0;
    bool focused_ = false;
    bool modified_ = false;
};
