#pragma once
// One seeded random sequence of what a user can do in the running program: searches,
// restores, stops, file commands on random selections with random texts, list
// commands, column clicks, mode switches, answers to the program's boxes, and closing
// the window. Most clicks are posted without waiting, so they queue while a search or a
// restore runs. The files removed by "Delete files" answered Yes are recorded: the rows
// selected when the question is shown, and while a search or restore runs (the program
// may then have moved the selection itself) only those of them the user had selected.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "NoLossFolder.h"
#include "ProgramDriver.h"

namespace noloss {

class Session {
public:
    // folder: the test folder (the program is already started and its window found).
    Session(ProgramDriver& program, const std::string& folder, uint32_t seed);

    // Runs steps random actions; stops early when the program has ended.
    void Play(int steps);
    // Closes the window the way a user does (answering boxes, stopping a search the close
    // is refused for) and waits for the process to end. The exit code, or -1 when it did
    // not end.
    long Close();

    // What was done, one line per action, to replay and read a failing sequence.
    const std::vector<std::string>& Actions() const { return actions_; }
    const std::vector<UserDeletion>& Deleted() const { return deleted_; }
    // What went wrong with the program itself (it ended early, did not answer, ...).
    const std::vector<std::string>& Problems() const { return problems_; }

private:
    // The kind of each action comes from one sequence of numbers and its details (rows,
    // texts, answers) from another, reseeded per action: a replay repeats the same kinds of
    // actions even where the program's timing gives other rows or boxes to choose from.
    uint32_t NextAction();
    uint32_t Random();
    int Below(int count) { return static_cast<int>(Random() % static_cast<uint32_t>(count)); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[static_cast<size_t>(Below(static_cast<int>(items.size())))];
    }

    void Note(const std::string& action);
    void Problem(const std::string& problem);

    void Step();
    void Find();
    // "Delete files" or "Rename files" on random rows; withRestore starts a restore just
    // before, so that the command is clicked while it runs.
    void FileCommand(bool deleteMode, bool withRestore);
    void SelectRandomRows();
    void DeleteKey();
    void AnswerBoxes(bool finishing);
    void Answer(const ProgramBox& box, int id, const std::string& reason);
    bool WaitIdle(unsigned timeoutMs);

    // The full paths of the rows, and of the selected rows.
    std::vector<std::string> RowFiles() const;
    std::set<std::string> SelectedFiles() const;
    std::string Relative(const std::string& file) const;

    ProgramDriver& program_;
    std::string folder_;
    uint32_t actionState_;
    uint32_t detailState_;
    std::vector<std::string> actions_;
    std::vector<UserDeletion> deleted_;
    std::vector<std::string> problems_;
};

}  // namespace noloss
