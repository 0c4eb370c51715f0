// The stand-in's command line: splitting, quoting and reading its options.
#include "StandinOptions.h"

#include "core/Cp932.h"

namespace standin {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool number(std::string_view text, unsigned long max, unsigned long& out) {
    if (text.empty() || text.size() > 9) return false;
    unsigned long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<unsigned long>(c - '0');
    }
    if (v > max) return false;
    out = v;
    return true;
}

}  // namespace

std::vector<std::string> splitCommandLine(std::string_view line) {
    std::vector<std::string> out;
    std::size_t i = 0;
    for (;;) {
        while (i < line.size() && isBlank(line[i])) ++i;
        if (i >= line.size()) break;
        std::string arg;
        bool quoted = false;
        while (i < line.size() && (quoted || !isBlank(line[i]))) {
            const std::size_t len = cp932::charLength(line, i);
            if (len == 2) {
                arg.append(line.substr(i, 2));
                i += 2;
                continue;
            }
            if (line[i] == '\\') {
                std::size_t run = 0;
                while (i < line.size() && line[i] == '\\') ++run, ++i;
                if (i < line.size() && line[i] == '"') {
                    arg.append(run / 2, '\\');
                    if (run % 2 == 1) {
                        arg += '"';
                        ++i;
                    }
                } else {
                    arg.append(run, '\\');
                }
                continue;
            }
            if (line[i] == '"') {
                quoted = !quoted;
                ++i;
                continue;
            }
            arg += line[i++];
        }
        out.push_back(std::move(arg));
    }
    return out;
}

std::string quoteArgument(std::string_view argument) {
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (std::size_t i = 0; i < argument.size();) {
        const std::size_t len = cp932::charLength(argument, i);
        const char c = argument[i];
        if (len == 1 && c == '\\') {
            ++backslashes;
        } else {
            if (len == 1 && c == '"') {
                out.append(backslashes + 1, '\\');  // double the run, escape the quote
            }
            backslashes = 0;
        }
        out.append(argument.substr(i, len));
        i += len;
    }
    out.append(backslashes, '\\');  // the closing quote must not be escaped
    out += '"';
    return out;
}

std::string argumentsFor(const StandinOptions& o) {
    std::string a;
    auto add = [&a](std::string_view name, std::string_view value) {
        if (!a.empty()) a += ' ';
        a += quoteArgument(std::string(name) + "=" + std::string(value));
    };
    add("--title", o.title);
    add("--class", o.className);
    add("--sdi", std::to_string(o.sdi));
    add("--filedia", std::to_string(o.filedia));
    add("--osnapcoord", std::to_string(o.osnapcoord));
    if (!o.mountTam) a += " --no-mounttam";
    if (o.secondWindow) add("--second-window", o.secondTitle);
    if (o.textWindow) a += " --text-window";
    if (o.hangMilliseconds > 0) {
        add("--hang-ms", std::to_string(o.hangMilliseconds));
        add("--hang-from", std::to_string(o.hangFrom));
    }
    if (o.scriptPaceMs > 0) add("--script-pace", std::to_string(o.scriptPaceMs));
    if (o.crashAt > 0) add("--crash-at", std::to_string(o.crashAt));
    if (o.elevated) a += " --elevated";
    if (!o.transcriptPath.empty()) add("--transcript", o.transcriptPath);
    if (!o.statePath.empty()) add("--state", o.statePath);
    return a;
}

bool parseArguments(const std::vector<std::string>& arguments, StandinOptions& o, std::string& error) {
    for (const std::string& arg : arguments) {
        const std::size_t eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        const bool hasValue = eq != std::string::npos;
        const std::string value = hasValue ? arg.substr(eq + 1) : std::string();
        unsigned long n = 0;
        auto variable = [&](int& target, unsigned long max) {
            if (!number(value, max, n)) return false;
            target = static_cast<int>(n);
            return true;
        };
        bool ok = true;
        if (name == "--title" && hasValue) {
            o.title = value;
        } else if (name == "--class" && hasValue) {
            o.className = value;
        } else if (name == "--sdi") {
            ok = variable(o.sdi, 3);
        } else if (name == "--filedia") {
            ok = variable(o.filedia, 1);
        } else if (name == "--osnapcoord") {
            ok = variable(o.osnapcoord, 2);
        } else if (name == "--no-mounttam" && !hasValue) {
            o.mountTam = false;
        } else if (name == "--second-window") {
            o.secondWindow = true;
            if (hasValue) o.secondTitle = value;
        } else if (name == "--text-window" && !hasValue) {
            o.textWindow = true;
        } else if (name == "--hang") {
            ok = number(value, 3600, n);
            o.hangMilliseconds = static_cast<unsigned>(n * 1000);
        } else if (name == "--hang-ms") {
            ok = number(value, 3600000, n);
            o.hangMilliseconds = static_cast<unsigned>(n);
        } else if (name == "--hang-from") {
            ok = number(value, 1000000, n) && n >= 1;
            o.hangFrom = static_cast<unsigned>(n);
        } else if (name == "--script-pace") {
            ok = number(value, 60000, n) && n >= 1;
            o.scriptPaceMs = static_cast<unsigned>(n);
        } else if (name == "--crash-at") {
            ok = number(value, 1000000, n) && n >= 1;
            o.crashAt = static_cast<unsigned>(n);
        } else if (name == "--elevated" && !hasValue) {
            o.elevated = true;
        } else if (name == "--transcript" && hasValue) {
            o.transcriptPath = value;
        } else if (name == "--state" && hasValue) {
            o.statePath = value;
        } else {
            error = "unknown option: " + arg;
            return false;
        }
        if (!ok) {
            error = "bad value: " + arg;
            return false;
        }
    }
    return true;
}

std::string titleWithDrawing(std::string_view title, std::string_view path) {
    const std::size_t bracket = cp932::findLastChar(title, '[');
    std::string out = bracket == cp932::npos ? std::string(title) + " - " : std::string(title.substr(0, bracket));
    std::size_t nameStart = 0;
    for (char separator : {'\\', '/', ':'}) {
        const std::size_t at = cp932::findLastChar(path, separator);
        if (at != cp932::npos && at + 1 > nameStart) nameStart = at + 1;
    }
    out += '[';
    out += path.substr(nameStart);
    out += ']';
    return out;
}

}  // namespace standin
