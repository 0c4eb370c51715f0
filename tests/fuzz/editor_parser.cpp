// Fuzz target: the editor tokenisers over arbitrary bytes, with every start rule switched on and an arbitrary
// start state. The row is copied into a buffer of its exact size so that AddressSanitizer sees any read past
// its end; every token must lie inside the row, make progress, and the walk must end.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "editor/EditorParser.h"
#include "editor/Fountain.h"
#include "editor/ScriptScheme.h"

namespace {

struct Schemes {
    TEditorViewInfo full;
    TEditorViewInfo program;
    Schemes() {
        full.SetMail(true);
        full.SetUrl(true);
        full.SetCommenter("//");
        full.SetQuotation("\"");
        full.SetControlCode(true);
        full.SetHexPrefix("0x");
        const char* pairs[][2] = {{"[%", "%]"}, {"{", "}"}, {"\x81\x75", "\x81\x76"}, {"(*", ""}, {"<", ">>"}};
        for (auto& p : pairs) {
            auto& item = full.Brackets().Add();
            item.SetLeftBracket(p[0]);
            item.SetRightBracket(p[1]);
        }
        editor::ApplyScriptScheme(program, true);
    }
};

void walk(TTokenParser& p, const char* row, std::size_t size, const TokenStartState& state) {
    p.Start(std::string_view(row, size), state);
    std::size_t last = 0;
    for (std::size_t n = 0;; ++n) {
        if (n > size + 2) std::abort();  // every token but the end takes at least one byte
        const TTokenKind k = p.Next();
        if (k == tkEnd) break;
        if (p.TokenLength() == 0 || p.SourcePos() < last || p.SourcePos() + p.TokenLength() > size) std::abort();
        last = p.SourcePos() + p.TokenLength();
        // A byte 0, CR or LF ends the row: no token holds one.
        for (char c : p.TokenString()) {
            if (c == '\0' || c == '\r' || c == '\n') std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Schemes schemes;
    if (size < 4) return 0;
    TokenStartState state;
    state.elementIndex = static_cast<int>(static_cast<std::int8_t>(data[0])) % 16;
    state.wrappedKind = data[1] % 32;
    state.wrappedRemain = data[2];
    const std::size_t split = data[3];
    data += 4;
    size -= 4;

    std::unique_ptr<char[]> row(new char[size ? size : 1]);
    std::copy(data, data + size, row.get());

    TTokenParser plain;
    TEditorParser full(&schemes.full.Fountain());
    TEditorParser program(&schemes.program.Fountain());
    walk(plain, row.get(), size, state);
    walk(full, row.get(), size, state);
    walk(program, row.get(), size, state);

    // The row end state of a soft-wrapped row: the text holds the row and the row after it.
    const std::size_t rowLength = size ? split % (size + 1) : 0;
    const TokenStartState next = full.RowEndState(std::string_view(row.get(), size), rowLength, true, state);
    // A row of spaces hands its start state on; any other row counts only bytes it was given.
    if (next.wrappedRemain < 0 ||
        static_cast<std::size_t>(next.wrappedRemain) > std::max<std::size_t>(size, state.wrappedRemain)) {
        std::abort();
    }
    walk(full, row.get() + rowLength, size - rowLength, next);
    for (TEditorParser* p : {&full, &program}) {
        p->Start(std::string_view(row.get(), size), state);
        while (p->Next() != tkEnd) (void)p->ColorOf();

        // The state a row hands on (which may skip tokenising) equals the bracket state after its last token.
        const TokenStartState plain{state.elementIndex, tkEnd, 0};
        const std::string_view text(row.get(), size);
        const TokenStartState quick = p->RowEndState(text, size, false, plain);
        if (text.find_first_not_of(' ') == std::string_view::npos) continue;
        p->Start(text, plain);
        int element = p->ElementIndex();
        while (p->Next() != tkEnd) element = p->ElementIndex();
        if (quick.elementIndex != element || quick.wrappedKind != tkEnd) std::abort();
    }
    return 0;
}
