// Undo and redo records of the row store, kept as plain lists; the store itself replays them.
#pragma once

#include <deque>
#include <string>

#include "editor/RowAttribute.h"

// One change: the block of rows it left behind, and the text and last-row attribute that block had before.
struct TUndoData {
    int CaretRow = 0;                     // caret of the active editor when the record was made
    int CaretCol = 0;
    int FirstRow = 0;                     // first row of the block
    int RowCount = 0;                     // rows the block occupies after the change
    TRowAttribute OldAttribute = raNone;  // last-row attribute of the old block; raNone: there was none
    std::string OldText;                  // the old block: its rows, CR LF after every raLineEnd row
};

class TUndoDataList {
public:
    int Count() const noexcept { return static_cast<int>(items_.size()); }
    bool Empty() const noexcept { return items_.empty(); }
    void Add(TUndoData data) { items_.push_back(std::move(data)); }
    const TUndoData& Last() const { return items_.back(); }
    const TUndoData& operator[](int i) const { return items_[static_cast<std::size_t>(i)]; }
    TUndoData TakeLast();
    void DropFirst() { items_.pop_front(); }
    void Clear() noexcept { items_.clear(); }

private:
    std::deque<TUndoData> items_;
};

// What replays the records: the row store they describe.
class UndoReplay {
public:
    virtual void Undo() = 0;
    virtual void Redo() = 0;

protected:
    ~UndoReplay() = default;
};

// The undo and redo lists of a store, their maximum and the flag set while a replay runs.
class TEditorUndoObj {
public:
    static constexpr int kMinimumListMax = 64;

    explicit TEditorUndoObj(UndoReplay& store) noexcept : store_(store) {}
    TEditorUndoObj(const TEditorUndoObj&) = delete;
    TEditorUndoObj& operator=(const TEditorUndoObj&) = delete;

    int UndoListMax() const noexcept { return max_; }
    void SetUndoListMax(int value) noexcept { max_ = value > kMinimumListMax ? value : kMinimumListMax; }

    bool CanUndo() const noexcept { return !undo_.Empty(); }
    bool CanRedo() const noexcept { return !redo_.Empty(); }
    // The store undoes or redoes one step (the same as calling it on the store).
    void Undo() { store_.Undo(); }
    void Redo() { store_.Redo(); }
    void Clear() noexcept;
    bool Running() const noexcept { return running_; }
    void SetRunning(bool running) noexcept { running_ = running; }

    // A new change: appended to the undo list (the oldest dropped beyond the maximum); the redo list is
    // cleared unless an undo or redo is running.
    void AddUndo(TUndoData data);
    // The inverse of an undone change.
    void AddRedo(TUndoData data) { redo_.Add(std::move(data)); }
    // The newest record of a list, taken off it (the list must not be empty).
    TUndoData TakeUndo() { return undo_.TakeLast(); }
    TUndoData TakeRedo() { return redo_.TakeLast(); }

    const TUndoDataList& UndoList() const noexcept { return undo_; }
    const TUndoDataList& RedoList() const noexcept { return redo_; }

private:
    UndoReplay& store_;
    TUndoDataList undo_;
    TUndoDataList redo_;
    int max_ = kMinimumListMax;
    bool running_ = false;
};
