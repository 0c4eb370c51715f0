// The stand-in's command line: typed text in, prompts and history out, three system variables, and
// the SCRIPT command. Portable, so its behaviour is tested natively.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class StandinConsole {
public:
    // Reads a script file; false when it cannot be read.
    using FileReader = std::function<bool(const std::string& path, std::string& content)>;
    using ScriptObserver = std::function<void(const std::string& path, const std::string& content)>;
    using VariableObserver = std::function<void(const std::string& name, int value)>;
    // OPEN with the drawing's name as typed (quotes taken off); CLOSE with an empty name.
    using DrawingObserver = std::function<void(const std::string& path)>;

    StandinConsole(int sdi, int filedia, int osnapcoord);

    void setFileReader(FileReader reader) { reader_ = std::move(reader); }
    void setScriptObserver(ScriptObserver observer) { scriptObserver_ = std::move(observer); }
    void setVariableObserver(VariableObserver observer) { variableObserver_ = std::move(observer); }
    void setDrawingObserver(DrawingObserver observer) { drawingObserver_ = std::move(observer); }

    // Paced: a script read by SCRIPT is not typed at once but kept, and typeNextScriptLine types its lines one
    // by one. A SCRIPT among them replaces the lines still kept, as a new script does in AutoCAD.
    void setScriptPaced(bool paced) { paced_ = paced; }
    // Types the next kept line and an Enter; false when none is left.
    bool typeNextScriptLine();
    bool scriptPending() const { return !scriptLines_.empty(); }

    // Text as typed: CR is Enter, a blank ends a command name or a value, ETX (a pair counts once)
    // cancels whatever runs. Input stops at a NUL.
    void type(std::string_view input);

    // SDI, FILEDIA or OSNAPCOORD (any letter case); -1 for another name.
    int variable(std::string_view name) const;

    // Finished lines, oldest first, and the line being typed (prompt and input so far).
    const std::vector<std::string>& history() const { return history_; }
    std::string currentLine() const;

    // What the command-line window shows: the last `lines` lines, the current one last, joined by CR LF.
    std::string commandLineText(std::size_t lines = 3) const;

private:
    enum class Mode { Command, Value, ScriptName, DrawingName, Options };

    void enter(bool byBlank);
    void cancel();
    void finish(std::string line);
    void runScript(const std::string& path);
    std::string prompt() const;
    int* variableSlot(std::string_view name);

    int sdi_;
    int filedia_;
    int osnapcoord_;
    Mode mode_ = Mode::Command;
    std::string variableName_;  // the variable whose new value is asked for
    std::string pending_;       // input typed since the last prompt
    std::vector<std::string> history_;
    int scriptDepth_ = 0;
    FileReader reader_;
    ScriptObserver scriptObserver_;
    VariableObserver variableObserver_;
    DrawingObserver drawingObserver_;
    bool paced_ = false;
    std::deque<std::string> scriptLines_;  // paced: the lines of the running script not yet typed
};
