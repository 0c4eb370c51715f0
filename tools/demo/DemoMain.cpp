// canopia-demo.exe: Canopia's main job, shown end to end. Starts the AutoCAD stand-in and canopia.exe in a
// prepared program folder, then works as a user does: a run on the current drawing, and a run over several
// drawings chosen in the file dialog, answering the confirmation and the end message, then follows that run in
// the main window's status bar ("k/N") while the stand-in works through the drawings at a readable pace. Asks
// for screenshots at the telling moments and prints, as UTF-8, what the stand-in received in each run.
//
//   canopia-demo.exe --folder=DIR --transcript=FILE [--shots=DIR]
//                    --current=GROUP/SCRIPT (--batch|--edit)=GROUP/SCRIPT DRAWING...
//
// With --edit the batch script does not exist yet: before its run the demo makes it in script maintenance from
// the template and writes it in the script editor (typed, tags from the tag menu, saved).
//
// With --shots, a screenshot is asked for with a line "SHOT <name>" on standard output; the demo goes on once
// <shots>\<name>.png exists (or after a while without it). A last line "DONE" ends that conversation.
// Exit code 0 when both runs went through and the stand-in received what they send, 1 when not, 2 when the
// demo could not start.
#include <windows.h>

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "DemoReport.h"
#include "Driver.h"
#include "StandinClient.h"
#include "app/frmMainIds.h"
#include "resources/editer/EditerResources.h"
#include "resources/maintenance/MaintenanceResources.h"

namespace {

constexpr std::size_t kCurrentStrings = 18;  // the run on the current drawing
constexpr std::size_t kSdiStrings = 3;       // the SDI probe before the file dialog
constexpr std::size_t kBatchStrings = 15;    // the run over the chosen drawings
constexpr int kFileNameField = 0x480;        // the file dialog's name field ...
constexpr int kFileNameCombo = 0x47C;        // ... or, in newer dialogs, the combo box around it
constexpr char kFileDialogTitle[] = "処理するファイルを選択してください（複数選択可能）";
constexpr char kFormClass[] = "CanopiaForm";
constexpr char kScriptConfigCaption[] = "スクリプトのメンテナンス";
constexpr char kScriptAddCaption[] = "スクリプトの新規作成";
// What the new script gets after its template, piece by piece: typed text (Japanese included, Enter as CR), or
// a tag taken from the editor's tag menu. All five tags; the drawing is opened, exported and closed.
struct TypedPiece {
    const char* text;
    int tagMenu;  // 0: typed
};
const TypedPiece kTyped[] = {
    {"; 図面ごとにPDFを書き出して閉じる\r; ", 0},
    {"[%NUMBER%]", IDM_SE_TAGNUMBER},
    {" 枚目 ", 0},
    {"[%FILENAME%]", IDM_SE_TAGFILENAME},
    {"[%FILEEXT%]", IDM_SE_TAGEXT},
    {"\r_.OPEN \"", 0},
    {"[%FILEPATH%]", IDM_SE_TAGFULLPATH},
    {"\"\r_.-EXPORT _PDF _E _N \"", 0},
    {"[%FOLDER%]", IDM_SE_TAGFOLDER},
    {"[%FILENAME%]", IDM_SE_TAGFILENAME},
    {".pdf\"\r_.CLOSE _N\r", 0},
};
constexpr unsigned kScriptPaceMs = 900;      // the stand-in types a script line this often

using Ids = MainWindowIds;

// Shift-JIS to UTF-8, for the terminal.
std::string utf8(const std::string& cp932) {
    if (cp932.empty()) return {};
    const int wide = ::MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(wide), L'\0');
    ::MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), w.data(), wide);
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, out.data(), bytes, nullptr, nullptr);
    return out;
}

// Written straight to the handle: no text-mode CR, and a reader of the pipe sees each line at once.
void say(const std::string& cp932) {
    const std::string text = utf8(cp932 + "\n");
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void fail(const std::string& cp932) { say("canopia-demo: " + cp932); }

// Typed text as the editor stores it: each Enter (CR) becomes a line break CR LF.
std::string enterAsLineBreak(const std::string& typed) {
    std::string out;
    for (char c : typed) out += c == '\r' ? std::string("\r\n") : std::string(1, c);
    return out;
}

bool fileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// canopia.exe started in its own program folder (its library, settings and tmp.scr are there).
class Program {
public:
    explicit Program(std::string folder) : folder_(std::move(folder)) {}
    ~Program() { end(); }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool start() {
        const std::string exe = folder_ + "\\canopia.exe";
        std::string command = "\"" + exe + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!::CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &si,
                              &pi)) {
            return false;
        }
        process_.reset(pi.hProcess);
        win::UniqueHandle thread(pi.hThread);
        processId_ = pi.dwProcessId;
        return true;
    }

    // The visible main window: the program's form with a menu bar.
    HWND mainWindow() const {
        for (HWND h : driver::topLevelWindows(processId_))
            if (driver::className(h) == "CanopiaForm" && ::GetMenu(h)) return h;
        return nullptr;
    }

    bool running() const { return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

    // Closes the main window as the user does; ends the process when it does not go.
    void end() {
        if (!running()) return;
        if (HWND main = mainWindow()) driver::closeWindow(main);
        if (::WaitForSingleObject(process_.get(), 5000) != WAIT_OBJECT_0) {
            ::TerminateProcess(process_.get(), 1);
            ::WaitForSingleObject(process_.get(), 5000);
        }
    }

    DWORD processId() const { return processId_; }

private:
    std::string folder_;
    win::UniqueHandle process_;
    DWORD processId_ = 0;
};

class Demo {
public:
    explicit Demo(demo::DemoOptions options) : options_(std::move(options)), program_(options_.folder) {}

    int run();

private:
    bool prepare();
    bool currentRun();
    bool scriptWrite();
    bool scriptTemplateMake(HWND config, const std::string& path);
    bool scriptType(HWND editer, HWND editor, const std::string& path);
    bool batchRun();
    bool batchFollow(std::vector<std::string>& shown);
    std::string progress() const;
    bool choose(int radio, const demo::ScriptChoice& choice);
    bool filesChoose();
    std::optional<driver::MessageBoxInfo> messageBoxWait(const std::string& caption, int timeoutMs);
    bool noMessageBox();
    void settle();
    void shot(const std::string& name);
    std::size_t eventCount() { return acad_->transcript().size(); }
    std::size_t stringCount(std::size_t from);
    bool report(const std::string& title, std::size_t from, std::size_t to, std::size_t expected,
                std::size_t expectedScripts = 1);

    demo::DemoOptions options_;
    std::optional<AcadStandin> acad_;  // declared before the program, so it is ended after it
    Program program_;
    HWND main_ = nullptr;
};

// Lets both programs finish painting before a screenshot.
void Demo::settle() {
    DWORD_PTR answer = 0;
    for (HWND h : {main_, acad_->window()}) ::SendMessageTimeoutA(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
    ::Sleep(500);
}

void Demo::shot(const std::string& name) {
    if (options_.shots.empty()) return;
    settle();
    const std::string file = options_.shots + "\\" + name + ".png";
    ::DeleteFileA(file.c_str());
    say("SHOT " + name);
    if (!driver::waitFor([&] { return fileExists(file); }, 30000)) fail("no screenshot " + name + " came; going on");
}

std::size_t Demo::stringCount(std::size_t from) {
    const std::vector<TranscriptEvent> events = acad_->transcript();
    std::size_t n = 0;
    for (std::size_t i = from; i < events.size(); ++i) n += events[i].kind == TranscriptEvent::Kind::CopyData;
    return n;
}

std::optional<driver::MessageBoxInfo> Demo::messageBoxWait(const std::string& caption, int timeoutMs) {
    std::optional<driver::MessageBoxInfo> found;
    driver::waitFor(
        [&] {
            auto box = driver::waitMessageBox(program_.processId(), 50);
            if (!box || box->caption != caption || box->text.empty()) return false;
            found = box;
            return true;
        },
        timeoutMs);
    return found;
}

// True when the program shows no message box; otherwise tells what it says and closes it.
bool Demo::noMessageBox() {
    auto box = driver::waitMessageBox(program_.processId(), 500);
    if (!box || box->caption == kFileDialogTitle) return true;
    fail("the program showed \"" + box->caption + "\": " + box->text);
    driver::answerMessageBox(box->hwnd, IDOK);
    return false;
}

bool Demo::prepare() {
    StandinOptions standinOptions;
    standinOptions.transcriptPath = options_.transcript;
    standinOptions.scriptPaceMs = kScriptPaceMs;
    try {
        acad_.emplace(standinOptions);
    } catch (const std::exception& e) {
        fail(e.what());
        return false;
    }
    if (!program_.start()) {
        fail("cannot start " + options_.folder + "\\canopia.exe");
        return false;
    }
    if (!driver::waitFor([&] { return (main_ = program_.mainWindow()) != nullptr; }, 20000)) {
        fail("the main window of canopia.exe did not appear");
        return false;
    }
    // The stand-in in the top left corner, Canopia beside it.
    const RECT standin = driver::windowRect(acad_->window());
    ::SetWindowPos(acad_->window(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(main_, nullptr, standin.right - standin.left + 8, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    // The watch timer finds AutoCAD and enables the run button.
    HWND go = driver::controlById(main_, Ids::btnScriptGo);
    if (!driver::waitFor([&] { return driver::isEnabled(go) && !driver::statusText(main_).empty(); }, 10000)) {
        fail("the run button stays disabled; status line: " + driver::statusText(main_));
        return false;
    }
    say("Canopia's status line: " + driver::statusText(main_));
    return true;
}

// The processing type by its radio button, then the group in the box and the script in the list.
bool Demo::choose(int radio, const demo::ScriptChoice& choice) {
    HWND button = driver::controlById(main_, radio);
    driver::clickButton(button);
    if (!driver::waitFor([&] { return ::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; })) {
        fail("the processing type did not change");
        return false;
    }
    HWND groups = driver::controlById(main_, Ids::cmbGroup);
    HWND scripts = driver::controlById(main_, Ids::lstScript);
    int group = -1;
    driver::waitFor([&] {
        const auto items = driver::listItems(groups);
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i] == choice.group) group = static_cast<int>(i);
        return group >= 0;
    });
    if (group < 0 || !driver::selectListEntry(groups, group)) {
        fail("no group " + choice.group + " in the library");
        return false;
    }
    // The group's scripts come with the posted change notice; until then the list may still be the old one,
    // so a choice only counts once it has held for a moment.
    const bool chosen = driver::waitFor(
        [&] {
            const auto items = driver::listItems(scripts);
            for (std::size_t i = 0; i < items.size(); ++i) {
                if (items[i] != choice.script) continue;
                driver::selectListEntry(scripts, static_cast<int>(i));
                ::Sleep(200);
                const auto now = driver::listItems(scripts);
                const int selected = driver::listSelection(scripts);
                return selected >= 0 && static_cast<std::size_t>(selected) < now.size() &&
                       now[selected] == choice.script;
            }
            return false;
        },
        10000);
    if (!chosen) fail("no script " + choice.script + " in the group " + choice.group);
    return chosen;
}

bool Demo::report(const std::string& title, std::size_t from, std::size_t to, std::size_t expected,
                  std::size_t expectedScripts) {
    const demo::RunRecord run = demo::runRecord(acad_->transcript(), from, to);
    std::string text = demo::runReport(run);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    say("");
    say("== " + title);
    say(text);
    const std::vector<std::string> problems = demo::runProblems(run, expected, expectedScripts);
    for (const std::string& p : problems) fail(title + ": " + p);
    return problems.empty();
}

bool Demo::currentRun() {
    say("== run on the current drawing: " + options_.current.group + "/" + options_.current.script);
    if (!choose(Ids::rdoFileActive, options_.current)) return false;
    shot("1-current-chosen");
    const std::size_t from = eventCount();
    driver::clickButton(driver::controlById(main_, Ids::btnScriptGo));
    const bool sent = driver::waitFor([&] { return stringCount(from) >= kCurrentStrings; }, 20000);
    // A run sends nothing more after its last cancel; a short wait shows whether it did.
    ::Sleep(500);
    const bool quiet = noMessageBox();
    const std::size_t to = eventCount();
    shot("2-current-done");
    if (!sent) fail("the run on the current drawing did not send its " + std::to_string(kCurrentStrings) + " strings");
    const bool counted = report("run on the current drawing (現在の図面)", from, to, kCurrentStrings);
    return sent && quiet && counted;
}

// Script maintenance from the main menu: the several-files type, the batch group, a new script from the
// template under the batch script's name, which opens in the script editor.
bool Demo::scriptWrite() {
    const demo::ScriptChoice& choice = options_.batch;
    say("");
    say("== a new script written in the script editor: " + choice.group + "/" + choice.script);
    driver::menuCommand(main_, Ids::mScriptConfig);
    HWND config = driver::waitTopLevel(program_.processId(), kFormClass, kScriptConfigCaption);
    if (!config) {
        fail("script maintenance did not open");
        return false;
    }
    const std::string path =
        options_.folder + "\\batch_script\\" + choice.group + "\\" + choice.script + ".scr";
    if (!scriptTemplateMake(config, path)) return false;
    // A new script opens in the script editor at once.
    HWND editer = driver::waitTopLevel(program_.processId(), kFormClass, ("「 " + choice.script + " 」").c_str());
    HWND editor = editer ? driver::controlByClass(editer, "TEditor") : nullptr;
    if (!editor) {
        noMessageBox();
        fail("the script editor did not open with the new script");
        return false;
    }
    const bool typed = scriptType(editer, editor, path);
    driver::clickButton(driver::controlById(editer, IDC_SE_QUIT));
    bool closed = driver::waitFor([&] { return !driver::isVisible(editer); }, 10000);
    if (closed) {
        driver::closeWindow(config);  // the main window then lists the new script
        closed = driver::waitFor([&] { return !driver::isVisible(config); }, 10000);
    }
    if (!closed) fail("the script editor or script maintenance did not close");
    return typed && closed && noMessageBox();
}

// Chooses the several-files type and the group, and makes the new script from the template under its name.
// Screenshot: script maintenance with the name window of the new script.
bool Demo::scriptTemplateMake(HWND config, const std::string& path) {
    driver::clickButton(driver::controlById(config, IDC_SC_FILESELECT));
    HWND groups = driver::controlById(config, IDC_SC_GROUP);
    int group = -1;
    driver::waitFor([&] {
        const auto items = driver::listItems(groups);
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i] == options_.batch.group) group = static_cast<int>(i);
        return group >= 0;
    });
    if (group < 0 || !driver::selectListEntry(groups, group)) {
        fail("no batch group " + options_.batch.group + " in script maintenance");
        return false;
    }
    HWND newFile = driver::controlById(config, IDC_SC_SCRIPTNEWFILE);
    driver::waitFor([&] { return driver::isEnabled(newFile); });
    driver::clickButton(newFile);
    HWND add = driver::waitTopLevel(program_.processId(), kFormClass, kScriptAddCaption);
    if (!add) {
        fail("the name window of a new script did not open");
        return false;
    }
    HWND name = driver::controlById(add, IDC_SA_GROUPNAME);
    ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(options_.batch.script.c_str()));
    shot("3-script-maintenance");
    driver::clickButton(driver::controlById(add, IDC_SA_OK));
    if (!driver::waitFor([&] { return fileExists(path); }, 10000)) {
        noMessageBox();
        fail("the new script " + options_.batch.script + " was not made from the template");
        return false;
    }
    return true;
}

// Types the new lines at the end of the template as a user does, one character at a time, inserts the tags
// from the menu, saves, and checks the file holds exactly that.
bool Demo::scriptType(HWND editer, HWND editor, const std::string& path) {
    const std::optional<std::string> before = driver::readWholeFile(path);
    auto length = [&] {
        DWORD_PTR n = 0;
        ::SendMessageTimeoutA(editor, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &n);
        return static_cast<std::size_t>(n);
    };
    const std::size_t end = length();
    ::SendMessageTimeoutA(editor, EM_SETSEL, end, end, SMTO_ABORTIFHUNG, 2000, nullptr);
    bool ok = true;
    auto type = [&](const std::string& text) {
        for (std::size_t i = 0; i < text.size() && ok;) {
            const auto b = static_cast<unsigned char>(text[i]);
            const std::size_t was = length();
            // A double-byte character comes as two WM_CHARs, lead byte first; sent, not posted, so that the
            // system joins the two bytes into one character on the way to the other process.
            const std::size_t n = ::IsDBCSLeadByteEx(932, b) && i + 1 < text.size() ? 2 : 1;
            for (std::size_t k = 0; k < n; ++k) {
                DWORD_PTR answer = 0;
                ::SendMessageTimeoutA(editor, WM_CHAR, static_cast<unsigned char>(text[i + k]), 1, SMTO_ABORTIFHUNG,
                                      2000, &answer);
            }
            i += n;
            ok = driver::waitFor([&] { return length() > was; }, 5000);
        }
    };
    std::string typed;
    for (const TypedPiece& piece : kTyped) {
        typed += piece.text;
        if (piece.tagMenu == 0) {
            type(piece.text);
            continue;
        }
        const std::size_t was = length();
        driver::menuCommand(editer, piece.tagMenu);
        ok = ok && driver::waitFor([&] { return length() > was; }, 5000);
    }
    HWND save = driver::controlById(editer, IDC_SE_SAVE);
    if (!ok || !before || !driver::waitFor([&] { return driver::isEnabled(save); })) {
        fail("typing into the script editor did not go through");
        return false;
    }
    shot("4-script-editor");
    driver::menuCommand(editer, IDM_SE_SAVE);  // as Ctrl+S does
    const std::string expected = *before + enterAsLineBreak(typed);
    std::optional<std::string> saved;
    const bool written = driver::waitFor(
        [&] { return !driver::isEnabled(save) && (saved = driver::readWholeFile(path)) && *saved == expected; }, 10000);
    say("saved " + std::to_string(saved ? saved->size() : 0) + " bytes to " + path + ":");
    if (saved) {
        int n = 0;
        for (const std::string& line : demo::scriptLines(*saved)) {
            say("  " + std::to_string(++n) + "  " + demo::readable(line));
        }
    }
    if (!written) fail("the saved file is not the template and the typed lines, or Save stayed enabled");
    return written;
}

// Opens the drawings' folder in the run's file dialog and chooses the drawings by name, as a user types them.
bool Demo::filesChoose() {
    HWND dialog = driver::waitTopLevel(program_.processId(), "#32770", kFileDialogTitle, 15000);
    if (!dialog) return false;
    HWND name = driver::controlById(dialog, kFileNameField);
    if (!name) name = driver::controlByClass(driver::controlById(dialog, kFileNameCombo), "Edit");
    if (!name) return false;
    const std::string folder = demo::splitPath(options_.drawings.front()).folder;
    ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    driver::clickButton(driver::controlById(dialog, IDOK));
    // The dialog empties the field once it shows the folder.
    driver::waitFor([&] { return driver::windowText(name).empty(); }, 5000);
    std::string names;
    for (const std::string& d : options_.drawings) {
        names += (names.empty() ? "\"" : " \"") + demo::splitPath(d).name + "\"";
    }
    ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(names.c_str()));
    shot("5-batch-files");
    driver::clickButton(driver::controlById(dialog, IDOK));
    return driver::waitFor([&] { return !::IsWindow(dialog) || !driver::isVisible(dialog); }, 5000);
}

bool Demo::batchRun() {
    say("");
    const std::size_t n = options_.drawings.size();
    say("== run over " + std::to_string(n) + (n == 1 ? " drawing: " : " drawings: ") + options_.batch.group + "/" +
        options_.batch.script);
    if (!choose(Ids::rdoFileSelect, options_.batch)) return false;
    const std::size_t start = eventCount();
    driver::clickButton(driver::controlById(main_, Ids::btnScriptGo));
    if (!driver::waitFor([&] { return stringCount(start) >= kSdiStrings; }, 15000)) {
        fail("the SDI probe did not reach the stand-in");
        return false;
    }
    if (!filesChoose()) {
        noMessageBox();
        fail("the file dialog did not open or did not take the drawings");
        return false;
    }
    const std::size_t from = eventCount();
    auto confirm = messageBoxWait("確認", 10000);
    if (!confirm) {
        noMessageBox();
        fail("no confirmation came");
        return false;
    }
    say("confirmation: " + confirm->text);
    shot("6-batch-confirmation");
    driver::answerMessageBox(confirm->hwnd, IDOK);
    auto end = messageBoxWait("処理終了", 20000);
    if (!end) {
        noMessageBox();
        fail("no end message came");
        return false;
    }
    say("end message: " + end->text);
    // The end message comes as soon as the commands are handed over; the stand-in is only beginning then.
    std::vector<std::string> shown;
    driver::waitFor([&] { return !progress().empty(); }, 10000);
    shown.push_back(progress());
    shot("7-batch-end-message");
    driver::answerMessageBox(end->hwnd, IDOK);
    const bool quiet = noMessageBox();
    const std::size_t to = eventCount();
    const bool followed = batchFollow(shown);
    const bool probe = report("SDI probe before the file dialog", start, from, kSdiStrings, 0);
    const bool counted = report("run over several drawings (複数ファイル)", from, to, kBatchStrings);
    return quiet && followed && probe && counted;
}

std::string Demo::progress() const {
    const std::vector<std::string> parts = driver::statusParts(main_);
    return parts.size() >= 2 ? parts[1] : std::string();
}

// Watches the status bar's progress part until it shows N/N, with a screenshot on the way and at the end.
bool Demo::batchFollow(std::vector<std::string>& shown) {
    const std::string all = std::to_string(options_.drawings.size());
    const std::string last = all + "/" + all;
    bool midShot = false;
    const bool done = driver::waitFor(
        [&] {
            const std::string p = progress();
            if (!p.empty() && p != shown.back()) shown.push_back(p);
            if (!midShot && !p.empty() && p != last) {
                shot("8-batch-following");
                midShot = true;
            }
            return p == last;
        },
        static_cast<int>(kScriptPaceMs) * 8 * static_cast<int>(options_.drawings.size()) + 20000);
    std::string steps;
    for (const std::string& p : shown) steps += (steps.empty() ? "" : " -> ") + (p.empty() ? std::string("-") : p);
    say("followed in the status bar: " + steps);
    if (!done) {
        fail("the status bar did not reach " + last + "; it shows \"" + progress() + "\"");
        return false;
    }
    // A script that closes its drawings ends with the first title again: the last drawing's lines are done too.
    driver::waitFor([&] { return driver::windowText(acad_->window()) == StandinOptions().title; },
                    static_cast<int>(kScriptPaceMs) * 4);
    shot("9-batch-followed");
    return true;
}

int Demo::run() {
    if (!prepare()) return 2;
    say("(what the stand-in received is shown with CR as \\r and the cancel, two bytes of code 3, as ^C^C)");
    const bool current = currentRun();
    const bool written = current && (!options_.writeBatch || scriptWrite());
    const bool batch = written && batchRun();
    program_.end();
    acad_->stop();
    say("");
    if (current && batch) {
        say("canopia-demo: both runs went through; the stand-in received " + std::to_string(kCurrentStrings) +
            " and " + std::to_string(kBatchStrings) + " strings");
        return 0;
    }
    fail(!current   ? "the run on the current drawing did not go through"
         : !written ? "the new script was not written in the script editor"
                    : "the run over several drawings did not go through");
    return 1;
}

}  // namespace

int main() {
    // The command line as typed, split without taking a Shift-JIS trail byte for a backslash or a quote.
    std::vector<std::string> arguments = standin::splitCommandLine(::GetCommandLineA());
    if (!arguments.empty()) arguments.erase(arguments.begin());
    demo::DemoOptions options;
    std::string error;
    if (!demo::parseArguments(arguments, options, error)) {
        fail(error);
        say("usage: canopia-demo.exe --folder=DIR --transcript=FILE [--shots=DIR] --current=GROUP/SCRIPT "
            "(--batch|--edit)=GROUP/SCRIPT DRAWING...");
        return 2;
    }
    const bool shots = !options.shots.empty();
    int status = 1;
    try {
        status = Demo(std::move(options)).run();
    } catch (const std::exception& e) {
        fail(std::string("stopped: ") + e.what());
    }
    // The end of the screenshot conversation: the reader need not wait for the end of the pipe, which
    // programs started on the way (Wine's own among them) may hold open.
    if (shots) say("DONE");
    return status;
}
