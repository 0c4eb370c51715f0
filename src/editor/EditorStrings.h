// Lines of the editor (TEditorStrings): the text as logical lines, each change one ReplaceRows call.
#pragma once

#include <string>
#include <string_view>

class TEditorScreenStrings;
class EditorClient;

class TEditorStrings {
public:
    // `editor` gets the caret after each change and the update begin/end calls; may be null.
    TEditorStrings(TEditorScreenStrings& store, EditorClient* editor) noexcept : store_(store), editor_(editor) {}

    int Count() const;
    std::string Get(int index) const;   // the line's rows joined; out of range throws the list error
    void Put(int index, std::string_view text);
    void Insert(int index, std::string_view text);
    int Add(std::string_view text);
    void Delete(int index);
    void Clear();

    std::string Text() const;
    void SetText(std::string_view text);
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const noexcept { return updateCount_; }

private:
    void caretAfter(int row, int col);

    TEditorScreenStrings& store_;
    EditorClient* editor_;
    int updateCount_ = 0;
};
