// Following a batch run that AutoCAD works through, by the drawing its title names, and offering to resume
// it after AutoCAD went away. Portable: the main window's watch feeds it what it sees on each tick.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace runner {

// The files of a batch run and the script run over them. `firstNumber` is the [%NUMBER%] of files[0]: 1 for a
// run the user started, k for a run resumed at the k-th file of the whole run.
struct BatchRun {
    std::vector<std::string> files;  // full paths, in the run's order
    int firstNumber = 1;
    std::string script;  // the script's path

    // N: the number of files of the whole run, those done before a resumption included.
    int total() const { return firstNumber - 1 + static_cast<int>(files.size()); }
};

// True when AutoCAD's `title` names the drawing `filePath`: the text before the title's last "]" ends with the
// file's name (without its folder), preceded by "[" or by a path separator (a title may show the drawing's whole
// path). Letters compare without regard to case, ASCII and full-width Latin alike; Shift-JIS aware throughout,
// so a trail byte 0x5B, 0x5C or 0x5D is never a bracket or a separator. A file name that is empty never matches.
bool titleNamesFile(std::string_view title, std::string_view filePath);

// What the watch saw of AutoCAD on one tick.
struct WatchView {
    bool alive = false;      // the window the run was handed to still exists
    std::string_view title;  // that window's title, when alive
    bool found = false;      // the lookup found an AutoCAD window (a new one when the followed one is gone)
    bool canAsk = false;     // the program may put a question now (no run and no modal window under way)
};

// One batch run followed from its hand-over to its end, or to the question after AutoCAD went away.
// k is the number (in the whole run) of the last file the title named; files are matched in order, so the
// files before the k-th count as done. Nothing is shown before the title has named a file of the run.
class BatchFollower {
public:
    // A run that AutoCAD took; replaces whatever was followed. `titleAtHandOver` is AutoCAD's title before the
    // script was handed over: it names the drawing that was open then, which is not yet the run's doing, so it
    // counts only once the title has been something else.
    void start(BatchRun run, std::string_view titleAtHandOver);
    // Forgets the run: nothing shown, nothing offered.
    void forget();

    // One tick of the watch. True when the resume question is due: it is asked once, so the follower waits
    // for questionDone() (or a new start) from then on.
    bool tick(const WatchView& view);
    // After the question: forgets the run unless a new one (the resumed run) has been started meanwhile.
    void questionDone();

    // The second part of the status bar: "k/N" while a run is followed or waits for the question, "N/N" after
    // its end until the next run; "" while nothing of the run has been seen and when nothing is followed.
    std::string progressText() const;
    // The files from the k-th on (the file open at the failure is done again), the script, numbering from k.
    BatchRun remaining() const;
    // "一括処理が k / N 個目のファイルで中断しました。残りの m 個のファイルを処理しますか？" (Shift-JIS), m = N - k
    // + 1.
    std::string resumeQuestion() const;

private:
    enum class State { Idle, Following, Finished, Interrupted, Asking };

    void follow(std::string_view title);
    bool seenAny() const { return k_ >= run_.firstNumber; }

    State state_ = State::Idle;
    BatchRun run_;
    int k_ = 0;               // number of the last file seen; firstNumber - 1 while none was
    bool leftK_ = false;      // the title has named something else since the k-th file
    std::string staleTitle_;  // the title at the hand-over, until the title changes
    bool staleTitleGone_ = true;
};

}  // namespace runner
