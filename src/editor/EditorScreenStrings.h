// The row store of an editor (TEditorScreenStrings): the one editing primitive ReplaceRows, undo and redo,
// word-wrap rows, loading and saving, and the notification of the attached editors.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/ColumnMap.h"
#include "editor/EditorClient.h"
#include "editor/EditorStringList.h"
#include "editor/EditorWrapOption.h"
#include "editor/RowStateUpdater.h"
#include "editor/UndoList.h"
#include "editor/WordWrapper.h"

class TEditorScreenStrings : public TEditorStringList, private UndoReplay {
public:
    TEditorScreenStrings();
    ~TEditorScreenStrings() override;

    // Editors share a store through shared_ptr; the store goes with the last one. The first attached editor
    // is the owner; the active editor is the attached one with the focus, or else the owner.
    void Attach(EditorClient* editor);
    void Detach(EditorClient* editor);
    EditorClient* Owner() const noexcept { return editors_.empty() ? nullptr : editors_.front(); }
    EditorClient* ActiveEditor() const noexcept;
    const std::vector<EditorClient*>& Editors() const noexcept { return editors_; }

    // The undo and redo lists; Undo and Redo replay their newest record here: the block the record names is
    // put back, the inverse goes on the other list, and the active editor's caret returns to the record's.
    TEditorUndoObj& UndoObj() noexcept { return undo_; }
    const TEditorUndoObj& UndoObj() const noexcept { return undo_; }
    void Undo() override { replay(true); }
    void Redo() override { replay(false); }
    bool CanUndo() const noexcept { return undo_.CanUndo(); }
    bool CanRedo() const noexcept { return undo_.CanRedo(); }

    TEditorWrapOption& WrapOption() noexcept { return wrapOption_; }
    const TEditorWrapOption& WrapOption() const noexcept { return wrapOption_; }

    // The column rules of the rows (tab width, word wrap and its width, the delimiter set): the one source of
    // every column map made of this store's rows, and of the wrapping. The delimiters point into the store.
    ColumnMapOptions ColumnOptions() const noexcept;
    int TabSpaceCount() const noexcept { return tabSpaceCount_; }
    // Clamped as the caret's TabSpaceCount; re-wraps while word wrap is on.
    void SetTabSpaceCount(int value);
    // The editor's delimiter set (DefaultDelimiters() until one is given); re-wraps while word wrap is on.
    void SetDelimiters(const DelimiterSet& set);
    const DelimiterSet& Delimiters() const noexcept { return delimiters_; }

    // Turning word wrap on re-wraps every line, turning it off joins the wrapped rows; both clear the undo
    // lists and rebuild the colouring states. The marks of the pieces of a line are ORed together and given to
    // each of its new rows.
    bool WordWrap() const noexcept { return wordWrap_; }
    void SetWordWrap(bool on);
    // The line-breaking rules (null: the Japanese rules of JapaneseWordWrapper, the default). Not owned.
    void SetWordWrapper(const WordWrapper* wrapper) noexcept { wrapper_ = wrapper; }
    // Re-wraps every line with the current options (after a wrap option changed while word wrap is on).
    void Rewrap() { Rewrap(false); }

    void SetRowStateUpdater(RowStateUpdater* updater) noexcept { updater_ = updater; }
    RowStateUpdater* StateUpdater() const noexcept { return updater_; }

    const ChangeRecord& Change() const noexcept { return change_; }
    // Row marks kept while the store is empty.
    std::uint16_t MarkWord() const noexcept { return markWord_; }
    void SetMarkWord(std::uint16_t marks) noexcept { markWord_ = marks; }

    // The editing primitive: replaces `count` rows from `first` by `text` (breaks as CR LF, lone CR or lone LF;
    // empty for a pure deletion; count 0 for a pure insertion, first == Count() inserting at the phantom row).
    // One undo step, one change notification.
    void ReplaceRows(int first, int count, std::string_view text);

    // The rows [first, first + count) as text: CR LF after every raLineEnd row.
    std::string RowsText(int first, int count) const;

    // Whole text. Loading and setting clear the undo lists and fire no OnChange.
    void SetText(std::string_view text);
    // Clears the store, then reads the file; an open or read failure throws AppError with the store empty.
    void LoadFromFile(const std::string& path);
    // Writes the text beside the file and replaces it only when complete; a failure throws AppError and leaves
    // the old file as it was.
    void SaveToFile(const std::string& path) const;

    // Logical lines: a run of rows joined at raWrapped rows (with word wrap off, a line is a row).
    int LineCount() const;
    int LineFirstRow(int line) const;   // line == LineCount() gives Count()
    int LineOfRow(int row) const;
    int LineLastRow(int row) const;     // last row of the logical line holding `row`
    std::string LineText(int line) const;

protected:
    // Rows changed through the TStrings-like base (not through ReplaceRows, undo or loading) leave the undo
    // records describing rows that are no longer there: the lists are cleared.
    void Changing() override;
    void Changed() override;
    void UpdateEnded() override;

private:
    class PrimitiveScope {
    public:
        explicit PrimitiveScope(TEditorScreenStrings& s) : n_(s.primitive_) { ++n_; }
        ~PrimitiveScope() { --n_; }
        PrimitiveScope(const PrimitiveScope&) = delete;
        PrimitiveScope& operator=(const PrimitiveScope&) = delete;

    private:
        int& n_;
    };
    // New rows for a block: their texts live in `text`, the views of `rows` point into it.
    struct Split {
        std::string text;
        std::vector<NewRow> rows;
        std::vector<TRowAttribute> attributes;
    };

    // Rows at the start and at the end of a block that a change left as they were.
    struct KeptRows {
        int first = 0;
        int last = 0;
    };

    void splitBlock(std::string_view text, TRowAttribute lastAttribute, bool restoring, Split& out) const;
    KeptRows putBlock(int first, int oldCount, Split& split, int suffix);
    KeptRows keptRows(int first, int oldCount, const Split& split) const;
    bool endsWithPhantomRow() const;
    void fillChange(int first, int removed, int inserted, KeptRows kept, bool endBefore);
    void updateStatesFrom(int row);
    void rebuildStates();
    void wrapAll();
    void clearForNewText(bool fromFile);
    void Rewrap(bool force);
    void replay(bool undo);
    const WordWrapper& wrapper() const noexcept { return wrapper_ ? *wrapper_ : japaneseWrapper_; }

    std::vector<EditorClient*> editors_;
    TEditorUndoObj undo_;
    TEditorWrapOption wrapOption_;
    JapaneseWordWrapper japaneseWrapper_;
    const WordWrapper* wrapper_ = nullptr;
    DelimiterSet delimiters_;
    int tabSpaceCount_ = 8;
    RowStateUpdater* updater_ = nullptr;
    ChangeRecord change_;
    int primitive_ = 0;  // above 0 while ReplaceRows, undo, redo, loading or wrapping changes the rows
    bool wordWrap_ = false;
    std::uint16_t markWord_ = 0;
};
