// The demonstration's arguments and its account of one run.
#include "DemoReport.h"

#include <cstdio>

#include "core/Cp932.h"

namespace demo {

namespace {

bool takeValue(const std::string& argument, const char* key, std::string& value) {
    const std::string head = std::string(key) + "=";
    if (argument.compare(0, head.size(), head) != 0) return false;
    value = argument.substr(head.size());
    return true;
}

// "GROUP/SCRIPT": a slash can be part of neither name, and 0x2F is never a trail byte.
bool choiceRead(const std::string& text, ScriptChoice& choice) {
    const std::size_t slash = cp932::findChar(text, '/');
    if (slash == cp932::npos || slash == 0 || slash + 1 >= text.size()) return false;
    if (cp932::findChar(text, '/', slash + 1) != cp932::npos) return false;
    choice.group = text.substr(0, slash);
    choice.script = text.substr(slash + 1);
    return true;
}

}  // namespace

bool parseArguments(const std::vector<std::string>& arguments, DemoOptions& options, std::string& error) {
    std::string current, batch, edit;
    for (const std::string& a : arguments) {
        if (takeValue(a, "--folder", options.folder) || takeValue(a, "--transcript", options.transcript) ||
            takeValue(a, "--shots", options.shots) || takeValue(a, "--current", current) ||
            takeValue(a, "--batch", batch) || takeValue(a, "--edit", edit)) {
            continue;
        }
        if (a.compare(0, 2, "--") == 0) {
            error = "unknown option " + a;
            return false;
        }
        options.drawings.push_back(a);
    }
    if (options.folder.empty()) error = "--folder=DIR (the program folder with canopia.exe) is missing";
    else if (options.transcript.empty()) error = "--transcript=FILE is missing";
    else if (!choiceRead(current, options.current)) error = "--current=GROUP/SCRIPT is missing or not of that form";
    else if (!batch.empty() && !edit.empty()) error = "--batch and --edit name the same run: give one";
    else if (!choiceRead(edit.empty() ? batch : edit, options.batch))
        error = "--batch=GROUP/SCRIPT (or --edit=GROUP/SCRIPT) is missing or not of that form";
    else if (options.drawings.empty()) error = "no drawing paths given";
    if (!error.empty()) return false;
    options.writeBatch = !edit.empty();
    const std::string folder = splitPath(options.drawings.front()).folder;
    for (const std::string& d : options.drawings) {
        const PathParts parts = splitPath(d);
        if (parts.folder.empty() || parts.name.empty() || parts.folder != folder) {
            error = "the drawings must be full paths of files in one folder: " + d;
            return false;
        }
    }
    return true;
}

PathParts splitPath(std::string_view path) {
    const std::size_t slash = cp932::findLastChar(path, '\\');
    if (slash == cp932::npos) return {std::string(), std::string(path)};
    const bool root = slash == 0 || path[slash - 1] == ':';  // "C:\" keeps its backslash
    return {std::string(path.substr(0, root ? slash + 1 : slash)), std::string(path.substr(slash + 1))};
}

RunRecord runRecord(const std::vector<TranscriptEvent>& events, std::size_t from, std::size_t to) {
    RunRecord run;
    for (std::size_t i = from; i < to && i < events.size(); ++i) {
        const TranscriptEvent& e = events[i];
        switch (e.kind) {
        case TranscriptEvent::Kind::CopyData: {
            std::string text = e.bytes;
            if (!text.empty() && text.back() == '\0') text.pop_back();
            run.strings.push_back(std::move(text));
            break;
        }
        case TranscriptEvent::Kind::Null:
            ++run.nulls;
            break;
        case TranscriptEvent::Kind::Script:
            run.scripts.push_back(e);
            break;
        }
    }
    return run;
}

std::string readable(std::string_view bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t next = cp932::nextCharPos(bytes, i);
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (next - i > 1 || (b >= 0x20 && b != 0x7F)) {
            out.append(bytes.substr(i, next - i));
        } else if (b == '\r') {
            out += "\\r";
        } else if (b == '\n') {
            out += "\\n";
        } else if (b == 3) {
            out += "^C";
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            out += hex;
        }
        i = next;
    }
    return out;
}

std::vector<std::string> scriptLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);  // LF is never a trail byte
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) end = text.size();
        std::size_t lineEnd = end;
        if (lineEnd > pos && text[lineEnd - 1] == '\r' && end < text.size()) --lineEnd;
        lines.emplace_back(text.substr(pos, lineEnd - pos));
        pos = next;
    }
    return lines;
}

std::string runReport(const RunRecord& run) {
    std::string out;
    char line[64];
    std::snprintf(line, sizeof line, "  %zu strings by WM_COPYDATA, %zu WM_NULL posted after them:\n", run.strings.size(),
                  run.nulls);
    out += line;
    for (std::size_t i = 0; i < run.strings.size(); ++i) {
        std::snprintf(line, sizeof line, "  %4zu  ", i + 1);
        out += std::string(line) + readable(run.strings[i]) + "\n";
    }
    for (const TranscriptEvent& script : run.scripts) {
        const std::vector<std::string> lines = scriptLines(script.bytes);
        std::snprintf(line, sizeof line, "  %zu lines ", lines.size());
        out += std::string(line) + "in the script read from " + readable(script.path) + ":\n";
        for (std::size_t i = 0; i < lines.size(); ++i) {
            std::snprintf(line, sizeof line, "  %4zu  ", i + 1);
            out += std::string(line) + readable(lines[i]) + "\n";
        }
    }
    return out;
}

std::vector<std::string> runProblems(const RunRecord& run, std::size_t expectedStrings, std::size_t expectedScripts) {
    std::vector<std::string> problems;
    if (run.strings.size() != expectedStrings) {
        problems.push_back(std::to_string(run.strings.size()) + " strings received, " + std::to_string(expectedStrings) +
                           " expected");
    }
    if (run.nulls != run.strings.size()) {
        problems.push_back(std::to_string(run.nulls) + " WM_NULL received for " + std::to_string(run.strings.size()) +
                           " strings");
    }
    if (run.scripts.size() != expectedScripts) {
        problems.push_back(std::to_string(run.scripts.size()) + " script files read, " +
                           std::to_string(expectedScripts) + " expected");
    }
    return problems;
}

}  // namespace demo
