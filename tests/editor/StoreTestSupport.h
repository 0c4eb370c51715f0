// Helpers shared by the store's tests: a readable dump of rows and attributes, and a recording editor.
#pragma once

#include <string>

#include "editor/EditorClient.h"
#include "editor/EditorScreenStrings.h"

// "a|L b|W c|T": each row's text and attribute (L raLineEnd, W raWrapped, T raTextEnd).
inline std::string dumpRows(const TEditorScreenStrings& s) {
    std::string out;
    for (int i = 0; i < s.Count(); ++i) {
        if (i) out += ' ';
        out += s.Get(i);
        out += '|';
        out += "LWTN"[s.RowAttribute(i)];
    }
    return out;
}

// Previous-row attributes must follow the rows; returns the first row where they do not, or -1.
inline int prevAttributeMismatch(const TEditorScreenStrings& s) {
    TRowAttribute prev = raLineEnd;
    for (int i = 0; i < s.Count(); ++i) {
        if (s.PrevRowAttribute(i) != prev) return i;
        prev = s.RowAttribute(i);
    }
    return -1;
}

// An editor that counts OnChange calls.
class RecordingEditor : public BasicEditorClient {
public:
    RecordingEditor() {
        OnChange = [this] { ++changes; };
    }
    int changes = 0;
};
