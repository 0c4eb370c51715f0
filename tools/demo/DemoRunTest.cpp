// canopia-demo.exe itself, against the real canopia.exe and the stand-in: both runs go through and are told
// as UTF-8 with the tags replaced, a script written in the editor is saved and run, and a library without the
// asked-for group ends in a clear failure.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Driver.h"
#include "win/WinHandles.h"

namespace {

const std::string kZumen = "\x90\x7D\x96\xCA";        // 図面
const std::string kHyo = "\x8E\x64\x8F\xE3\x95\x5C";  // 仕上表, trail byte 0x5C at its end

struct Outcome {
    DWORD exitCode = 0;
    std::string output;  // UTF-8
};

// A program folder with canopia.exe, one script of each type and three drawings; removed at the end.
class DemoFolder {
public:
    DemoFolder() {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "canopia-demo-" + std::to_string(::GetCurrentProcessId());
        driver::removeTree(folder_);
        for (const std::string& f : {std::string(), std::string("\\single_script"), "\\single_script\\" + kZumen,
                                     std::string("\\batch_script"), "\\batch_script\\" + kZumen, "\\" + kZumen})
            ::CreateDirectoryA((folder_ + f).c_str(), nullptr);
        ::CopyFileA(CANOPIA_EXE, (folder_ + "\\canopia.exe").c_str(), FALSE);
        driver::writeWholeFile(folder_ + "\\single_script\\" + kZumen + "\\frame.scr", "zoom e\r\n");
        driver::writeWholeFile(folder_ + "\\batch_script\\" + kZumen + "\\each.scr",
                               "; [%NUMBER%] [%FILENAME%][%FILEEXT%]\r\nopen \"[%FOLDER%][%FILENAME%].dwg\"\r\n");
    }
    ~DemoFolder() { driver::removeTree(folder_); }
    DemoFolder(const DemoFolder&) = delete;
    DemoFolder& operator=(const DemoFolder&) = delete;

    // An empty drawing in the folder 図面; its full path.
    std::string drawing(const std::string& name) {
        const std::string path = folder_ + "\\" + kZumen + "\\" + name + ".dwg";
        driver::writeWholeFile(path, "");
        return path;
    }
    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
};

// Runs the demo with these arguments, its standard output read through a pipe.
std::optional<Outcome> demoRun(const std::string& arguments) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!::CreatePipe(&read, &write, &inherit, 0)) return std::nullopt;
    win::UniqueHandle reader(read), writer(write);
    ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    std::string command = "\"" CANOPIA_DEMO_EXE "\" " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = write;
    si.hStdError = write;
    si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
        return std::nullopt;
    win::UniqueHandle process(pi.hProcess), thread(pi.hThread);
    writer.reset();
    // Read while the demo runs. The programs it starts may hold the pipe's write end too, so its end of
    // file is not waited for: the demo's own end is.
    Outcome outcome;
    auto drain = [&] {
        DWORD available = 0;
        while (::PeekNamedPipe(reader.get(), nullptr, 0, nullptr, &available, nullptr) && available > 0) {
            char buffer[4096];
            DWORD got = 0;
            if (!::ReadFile(reader.get(), buffer, sizeof buffer, &got, nullptr) || got == 0) return;
            outcome.output.append(buffer, got);
        }
    };
    const bool ended = driver::waitFor(
        [&] {
            drain();
            return ::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
        },
        120000);
    drain();
    if (!ended) {
        ::TerminateProcess(process.get(), 9);
        ADD_FAILURE() << "the demo did not end; it said:\n" << outcome.output;
        return std::nullopt;
    }
    ::GetExitCodeProcess(process.get(), &outcome.exitCode);
    return outcome;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string common(const DemoFolder& f) {
    return "--folder=\"" + f.folder() + "\" --transcript=\"" + f.folder() + "\\transcript.txt\" --current=" + kZumen +
           "/frame ";
}

}  // namespace

TEST(Demo, BothRunsGoThroughAndAreToldInUtf8) {
    DemoFolder f;
    const std::string a = f.drawing("a"), hyo = f.drawing(kHyo);
    const auto outcome = demoRun(common(f) + "--batch=" + kZumen + "/each \"" + a + "\" \"" + hyo + "\"");
    ASSERT_TRUE(outcome.has_value());
    const std::string& out = outcome->output;
    EXPECT_EQ(outcome->exitCode, 0u) << out;
    EXPECT_TRUE(contains(out, "18 strings by WM_COPYDATA, 18 WM_NULL")) << out;
    EXPECT_TRUE(contains(out, "15 strings by WM_COPYDATA, 15 WM_NULL")) << out;
    EXPECT_TRUE(contains(out, "     2  ^C^C\n     3  undo be\\r\n")) << out;
    EXPECT_TRUE(contains(out, u8"confirmation: 2 個のファイルを処理します　よろしいですか？")) << out;
    EXPECT_TRUE(contains(out, u8"end message: 2ファイルの一括処理が終了しました")) << out;
    // The run followed in the status bar up to its last drawing.
    EXPECT_TRUE(contains(out, "followed in the status bar: ")) << out;
    EXPECT_TRUE(contains(out, "2/2\n")) << out;
    // The combined script in UTF-8: tags replaced per drawing, the 0x5C trail byte of 表 no separator.
    EXPECT_TRUE(contains(out, u8"     3  ; 2 仕上表.dwg\n")) << out;
    EXPECT_TRUE(contains(out, u8"\\図面\\仕上表.dwg\"\n")) << out;
    EXPECT_FALSE(contains(out, "SHOT ")) << out;  // no screenshots asked for without --shots
}

TEST(Demo, AScriptWrittenInTheEditorIsSavedAsTypedAndRun) {
    DemoFolder f;
    const auto outcome = demoRun(common(f) + "--edit=" + kZumen + "/" + kHyo + " \"" + f.drawing("a") + "\"");
    ASSERT_TRUE(outcome.has_value());
    const std::string& out = outcome->output;
    // The demo itself compares the saved file with the template and what it typed, byte for byte.
    EXPECT_EQ(outcome->exitCode, 0u) << out;
    EXPECT_TRUE(contains(out, u8"  5  ; 図面ごとにPDFを書き出して閉じる\n")) << out;
    // Tags from the editor's menu, replaced by the run: the script's sixth line for the one drawing.
    EXPECT_TRUE(contains(out, u8"     6  ; 1 枚目 a.dwg\n")) << out;
    EXPECT_TRUE(contains(out, "1/1\n")) << out;
}

TEST(Demo, MissingGroupFailsWithAMessageAfterTheFirstRun) {
    DemoFolder f;
    const auto outcome = demoRun(common(f) + "--batch=nothing/each \"" + f.drawing("a") + "\"");
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(outcome->exitCode, 1u) << outcome->output;
    EXPECT_TRUE(contains(outcome->output, "18 strings by WM_COPYDATA")) << outcome->output;
    EXPECT_TRUE(contains(outcome->output, "canopia-demo: no group nothing in the library")) << outcome->output;
}

TEST(Demo, BadArgumentsEndAtOnceWithTheUsage) {
    const auto outcome = demoRun("--folder=C:\\x --transcript=C:\\t.txt --current=a/b --batch=c");
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(outcome->exitCode, 2u);
    EXPECT_TRUE(contains(outcome->output, "--batch=GROUP/SCRIPT (or --edit=GROUP/SCRIPT) is missing"))
        << outcome->output;
    EXPECT_TRUE(contains(outcome->output, "usage: canopia-demo.exe")) << outcome->output;
}
