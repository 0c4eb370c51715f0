// The stand-in's command line, answering like AutoCAD's Japanese command line.
#include "StandinConsole.h"

#include "core/Cp932.h"

namespace {

constexpr std::size_t kHistoryLimit = 2000;  // older lines are dropped
constexpr int kScriptDepthLimit = 8;         // a script that runs itself stops here

struct VariableRange {
    const char* name;
    int max;
};
constexpr VariableRange kVariables[] = {{"SDI", 3}, {"FILEDIA", 1}, {"OSNAPCOORD", 2}};

// Command names may carry AutoCAD's prefixes: "_" (English name) and "." (built-in).
std::string commandName(std::string_view word) {
    while (!word.empty() && (word.front() == '_' || word.front() == '.' || word.front() == '\'')) {
        word.remove_prefix(1);
    }
    return cp932::toUpperAscii(word);
}

// Each line of a script, in order; CR LF, LF and lone CR all end a line.
template <typename Visit>
void forEachLine(const std::string& content, Visit visit) {
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find_first_of("\r\n", start);
        if (end == std::string::npos) end = content.size();
        visit(std::string_view(content).substr(start, end - start));
        if (end < content.size() && content[end] == '\r' && end + 1 < content.size() && content[end + 1] == '\n') {
            ++end;
        }
        start = end + 1;
    }
}

}  // namespace

StandinConsole::StandinConsole(int sdi, int filedia, int osnapcoord)
    : sdi_(sdi), filedia_(filedia), osnapcoord_(osnapcoord) {}

int* StandinConsole::variableSlot(std::string_view name) {
    const std::string upper = cp932::toUpperAscii(name);
    if (upper == "SDI") return &sdi_;
    if (upper == "FILEDIA") return &filedia_;
    if (upper == "OSNAPCOORD") return &osnapcoord_;
    return nullptr;
}

int StandinConsole::variable(std::string_view name) const {
    const int* slot = const_cast<StandinConsole*>(this)->variableSlot(name);
    return slot ? *slot : -1;
}

std::string StandinConsole::prompt() const {
    switch (mode_) {
    case Mode::Command:
        return "コマンド: ";
    case Mode::Value:
        return variableName_ + " の新しい値を入力 <" + std::to_string(variable(variableName_)) + ">: ";
    case Mode::ScriptName:
        return "スクリプト ファイル名を入力: ";
    case Mode::DrawingName:
        return "開く図面ファイル名を入力: ";
    case Mode::Options:
        return "オプションを入力: ";
    }
    return {};
}

std::string StandinConsole::currentLine() const { return prompt() + pending_; }

std::string StandinConsole::commandLineText(std::size_t lines) const {
    const std::size_t older = lines > 0 ? lines - 1 : 0;
    const std::size_t from = history_.size() > older ? history_.size() - older : 0;
    std::string text;
    for (std::size_t i = from; i < history_.size(); ++i) text += history_[i] + "\r\n";
    return text + currentLine();
}

void StandinConsole::finish(std::string line) {
    history_.push_back(std::move(line));
    if (history_.size() > kHistoryLimit) history_.erase(history_.begin(), history_.begin() + kHistoryLimit / 2);
}

void StandinConsole::type(std::string_view input) {
    bool afterCancel = false;
    for (std::size_t i = 0; i < input.size();) {
        const char c = input[i];
        if (c == '\0') break;
        const std::size_t len = cp932::charLength(input, i);
        if (len == 1 && c == '\x03') {
            if (!afterCancel) cancel();
            afterCancel = true;
            ++i;
            continue;
        }
        afterCancel = false;
        if (len == 1 && c == '\r') {
            enter(false);
        } else if (len == 1 && c == '\n') {
            // a line feed after the CR is no second Enter
        } else if (len == 1 && c == ' ' && (mode_ == Mode::Command || mode_ == Mode::Value)) {
            if (!pending_.empty()) enter(true);
        } else {
            pending_.append(input.substr(i, len));
        }
        i += len;
    }
}

void StandinConsole::cancel() {
    finish(currentLine() + "*キャンセル*");
    pending_.clear();
    mode_ = Mode::Command;
}

void StandinConsole::enter(bool byBlank) {
    const std::string line = currentLine();
    const std::string input = pending_;
    pending_.clear();
    finish(line);
    switch (mode_) {
    case Mode::Command: {
        if (input.empty()) return;
        const std::string name = commandName(input);
        if (variableSlot(name) != nullptr) {
            variableName_ = name;
            mode_ = Mode::Value;
        } else if (name == "SCRIPT") {
            mode_ = Mode::ScriptName;
        } else if (name == "OPEN") {
            mode_ = Mode::DrawingName;
        } else if (name == "CLOSE") {
            if (drawingObserver_) drawingObserver_(std::string());
            if (byBlank) mode_ = Mode::Options;
        } else if (byBlank) {
            mode_ = Mode::Options;
        }
        return;
    }
    case Mode::Value: {
        if (input.empty()) {
            mode_ = Mode::Command;
            return;
        }
        int max = 0;
        for (const auto& v : kVariables) {
            if (variableName_ == v.name) max = v.max;
        }
        int value = -1;
        if (input.size() <= 3 && input.find_first_not_of("0123456789") == std::string::npos) {
            value = std::stoi(input);
        }
        if (value < 0 || value > max) {
            finish("0 から " + std::to_string(max) + " までの整数を入力してください。");
            return;  // asked again
        }
        *variableSlot(variableName_) = value;
        mode_ = Mode::Command;
        if (variableObserver_) variableObserver_(variableName_, value);
        return;
    }
    case Mode::ScriptName:
    case Mode::DrawingName: {
        const bool script = mode_ == Mode::ScriptName;
        mode_ = Mode::Command;
        std::string path = input;
        if (path.size() >= 2 && path.front() == '"' && path.back() == '"') path = path.substr(1, path.size() - 2);
        if (script) {
            runScript(path);
        } else if (!path.empty() && drawingObserver_) {
            drawingObserver_(path);
        }
        return;
    }
    case Mode::Options:
        mode_ = Mode::Command;
        return;
    }
}

void StandinConsole::runScript(const std::string& path) {
    std::string content;
    if (!reader_ || !reader_(path, content)) {
        finish("ファイル " + path + " を開けません。");
        return;
    }
    if (scriptObserver_) scriptObserver_(path, content);
    if (paced_) {
        scriptLines_.clear();
        forEachLine(content, [this](std::string_view line) { scriptLines_.emplace_back(line); });
        return;
    }
    if (scriptDepth_ >= kScriptDepthLimit) {
        finish("スクリプトが深すぎます。");
        return;
    }
    ++scriptDepth_;
    forEachLine(content, [this](std::string_view line) {
        type(line);
        type("\r");
    });
    --scriptDepth_;
}

bool StandinConsole::typeNextScriptLine() {
    if (scriptLines_.empty()) return false;
    const std::string line = std::move(scriptLines_.front());
    scriptLines_.pop_front();
    type(line);
    type("\r");
    return true;
}
