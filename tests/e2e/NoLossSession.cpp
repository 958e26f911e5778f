#include "NoLossSession.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "support/ScratchFolder.h"

namespace noloss {

namespace {

const char* const DeleteQuestion = "Are you sure you want to delete the selected files ?";
const char* const RenameQuestion = "Are you sure you rename the selected files ?";

// Texts a user may type as an extension: valid ones, blank ones, and ones that would
// leave the folder or name no file.
const std::vector<std::string> ExtensionTexts = {
    "vrs", "_vrs",           "",    "  ", ".vrs", "a.b", "doc",
    "exe", "vrs\\..\\..\\x", "x:y", "*",  "q?",   "a|b", "t\tx",
};
const std::vector<std::string> Masks = {
    "*.exe", "*.*", "*.exe;*.dll;*.scr", "*.exe", "*.*", "*.exe;*.dll;*.scr", "*"};
const std::vector<std::string> Subfolders = {"sub", "bulk", "v1.2", "memo.doc"};

// One step of a xorshift generator: the same numbers on every platform.
uint32_t NextRandom(uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::string(prefix).size(), prefix) == 0;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 32) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned>(c));
            quoted += escaped;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string Listed(const std::set<std::string>& files, const std::string& folder) {
    std::string text = "[";
    for (const std::string& file : files) {
        text +=
            (text.size() > 1 ? ", " : "") + (file.compare(0, folder.size() + 1, folder + "\\") == 0
                                                 ? file.substr(folder.size() + 1)
                                                 : file);
    }
    return text + "]";
}

}  // namespace

Session::Session(ProgramDriver& program, const std::string& folder, uint32_t seed)
    : program_(program),
      folder_(folder),
      actionState_((seed * 2654435761u + 12345u) | 1),
      detailState_(1) {}

uint32_t Session::NextAction() {
    const uint32_t action = NextRandom(actionState_);
    detailState_ = NextRandom(actionState_) | 1;
    return action;
}

uint32_t Session::Random() {
    return NextRandom(detailState_);
}

void Session::Note(const std::string& action) {
    actions_.push_back(action);
}

void Session::Problem(const std::string& problem) {
    problems_.push_back(problem);
    Note("!! " + problem);
}

std::string Session::Relative(const std::string& file) const {
    const std::string prefix = folder_ + "\\";
    if (file == folder_ || file == prefix) {
        return file == folder_ ? "." : ".\\";
    }
    return file.compare(0, prefix.size(), prefix) == 0 ? file.substr(prefix.size()) : file;
}

std::vector<std::string> Session::RowFiles() const {
    std::vector<std::string> files;
    const int count = program_.RowCount();
    for (int row = 0; row < count; ++row) {
        files.push_back(program_.Cell(row, 1) + program_.Cell(row, 0));
    }
    return files;
}

std::set<std::string> Session::SelectedFiles() const {
    std::set<std::string> files;
    for (int row : program_.SelectedRows()) {
        files.insert(program_.Cell(row, 1) + program_.Cell(row, 0));
    }
    return files;
}

void Session::Play(int steps) {
    // Start in the test folder: the program's own default folder is the whole drive.
    if (!program_.SetText(program_.FolderEdit(), folder_)) {
        Problem("the folder could not be typed");
        return;
    }
    NextAction();
    if (Chance(50)) {
        Note("option Delete infected files");
        program_.Click("Delete infected files");
    }
    Find();
    for (int step = 0; step < steps && !program_.HasExited(); ++step) {
        Step();
    }
    if (program_.HasExited()) {
        Problem("the program ended during the sequence, exit code " +
                std::to_string(program_.Close(0)));
    }
}

void Session::Step() {
    const int roll = static_cast<int>(NextAction() % 100);
    if (roll < 10) {
        Find();
    } else if (roll < 14) {
        Note("Stop");
        program_.Click("Stop");
    } else if (roll < 26) {
        Note("Restore File");
        program_.Click("Restore File");
    } else if (roll < 30) {
        Note("Stop Restore");
        program_.Click("Stop Restore");
    } else if (roll < 38) {
        FileCommand(true, Chance(40));
    } else if (roll < 45) {
        FileCommand(false, Chance(40));
    } else if (roll < 48) {
        Note("Select All");
        program_.Click("Select All");
    } else if (roll < 50) {
        Note("Clear All");
        program_.Click("Clear All");
    } else if (roll < 52) {
        Note("Clear Result");
        program_.Click("Clear Result");
    } else if (roll < 55) {
        SelectRandomRows();
        Note("Delete list");
        program_.Click("Delete list");
    } else if (roll < 58) {
        DeleteKey();
    } else if (roll < 63) {
        const int column = Below(5);
        Note("click column " + std::to_string(column));
        program_.ClickColumnHeader(column);
    } else if (roll < 69) {
        const char* mode = Chance(50) ? "Delete infected files" : "Rename with";
        Note(std::string("option ") + mode);
        program_.Click(mode);
    } else if (roll < 74) {
        const std::string& text = Pick(ExtensionTexts);
        Note("Rename with text " + Quoted(text));
        program_.SetText(program_.RenameWithEdit(), text);
    } else if (roll < 79) {
        SelectRandomRows();
    } else if (roll < 90) {
        AnswerBoxes(false);
    } else if (roll < 99) {
        if (Chance(50)) {
            const int ms = 20 + Below(400);
            Note("wait " + std::to_string(ms) + " ms");
            Sleep(static_cast<DWORD>(ms));
        } else {
            Note("wait until idle");
            if (!WaitIdle(30000)) {
                Note("still busy after 30 s");
            }
        }
    } else {
        Note("About");
        program_.Click("About");
    }
}

void Session::Find() {
    std::string folder = folder_;
    const int where = Below(100);
    if (where < 10) {
        folder += "\\";
    } else if (where < 25) {
        folder += "\\" + Pick(Subfolders);
    }
    const std::string& mask = Pick(Masks);
    Note("Find in " + Relative(folder) + " with " + mask);
    program_.SetText(program_.FolderEdit(), folder);
    HWND maskEdit = FindWindowExA(program_.MaskCombo(), nullptr, "Edit", nullptr);
    program_.SetText(maskEdit != nullptr ? maskEdit : program_.MaskCombo(), mask);
    program_.Click("Find");
}

void Session::SelectRandomRows() {
    const int count = program_.RowCount();
    program_.SetRowState(-1, 0);
    std::string chosen;
    for (int row = 0; row < count; ++row) {
        if (Chance(25)) {
            program_.SetRowState(row, LVIS_SELECTED);
            chosen += " " + std::to_string(row);
        }
    }
    Note("select rows" + chosen);
}

void Session::DeleteKey() {
    const int count = program_.RowCount();
    if (count > 0) {
        const int row = Below(count);
        program_.SetRowState(row, LVIS_FOCUSED | LVIS_SELECTED);
        Note("Delete key on row " + std::to_string(row));
    } else {
        Note("Delete key");
    }
    program_.PressListKey(VK_DELETE);
}

void Session::FileCommand(bool deleteMode, bool withRestore) {
    const std::string command = deleteMode ? "Delete files" : "Rename files";
    std::string text;
    if (!deleteMode) {
        text = Pick(ExtensionTexts);
        program_.SetText(program_.RenameFilesEdit(), text);
    }
    // The rows are read once every click posted so far has been taken.
    if (!program_.Drain(20000)) {
        Note("(the program took no message for 20 s)");
    }
    const std::vector<std::string> rows = RowFiles();
    // None, all, a few, or about one in eight of the rows.
    std::vector<int> chosen;
    const int count = static_cast<int>(rows.size());
    const int kind = Below(100);
    if (kind >= 20 && kind < 60 && count > 0) {
        std::set<int> few;
        for (int pick = Below(5); pick >= 0; --pick) {
            few.insert(Below(count));
        }
        chosen.assign(few.begin(), few.end());
    } else {
        for (int row = 0; row < count; ++row) {
            if (kind >= 8 && (kind < 20 || Chance(12))) {
                chosen.push_back(row);
            }
        }
    }
    // The rows the user selects before clicking. The selection is posted like the clicks,
    // so that with a restore started just before, it lands while the restore runs.
    std::set<std::string> clicked;
    for (int row : chosen) {
        clicked.insert(rows[static_cast<size_t>(row)]);
    }
    if (withRestore) {
        Note("Restore File");
        program_.Click("Restore File");
    }
    program_.PostRowState(-1, 0);
    for (int row : chosen) {
        program_.PostRowState(row, LVIS_SELECTED);
    }
    std::set<HWND> shown;
    for (const ProgramBox& box : program_.Boxes()) {
        shown.insert(box.Window);
    }
    program_.Click(command);
    const bool taken = program_.Drain(30000);
    const char* question = deleteMode ? DeleteQuestion : RenameQuestion;
    ProgramBox asked;
    for (const DWORD start = GetTickCount();;) {
        for (const ProgramBox& box : program_.Boxes()) {
            if (shown.count(box.Window) == 0 && StartsWith(box.Text, question)) {
                asked = box;
            }
        }
        if (asked.Window != nullptr || GetTickCount() - start > (taken ? 300u : 5000u)) {
            break;
        }
        Sleep(10);
    }
    std::string line =
        command + (deleteMode ? "" : " with " + Quoted(text)) + " on " + Listed(clicked, folder_);
    if (asked.Window == nullptr) {
        Note(line + ": no question");
        return;
    }
    // While the question is shown nothing else runs: the rows it acts on are selected now.
    // A program that asks while its own search or restore runs may have changed the
    // selection under the user: then only the rows the user selected count as asked for.
    const std::set<std::string> atQuestion = SelectedFiles();
    const bool running = !program_.IsEnabled(program_.Button("Find")) ||
                         !program_.IsEnabled(program_.Button("Restore File"));
    const bool yes = Chance(deleteMode ? 55 : 65);
    std::vector<UserDeletion> removed;
    for (const std::string& file : atQuestion) {
        if (!running || clicked.count(file) != 0) {
            const std::string bytes = scratch::ReadWholeFile(file);
            if (!bytes.empty()) {
                removed.push_back({Relative(file), bytes});
            }
        }
    }
    if (atQuestion != clicked) {
        line += ", selected at the question " + Listed(atQuestion, folder_);
    }
    if (running) {
        line += " (asked while a search or restore runs)";
    }
    Note(line + ", answered " + (yes ? "Yes" : "No"));
    Answer(asked, yes ? IDYES : IDNO, command);
    if (yes && deleteMode) {
        deleted_.insert(deleted_.end(), removed.begin(), removed.end());
    }
}

void Session::Answer(const ProgramBox& box, int id, const std::string& reason) {
    if (!program_.Dismiss(box, id) && !program_.HasExited()) {
        Problem("the box " + Quoted(box.Text) + " (" + reason + ") did not close when answered");
    }
}

void Session::AnswerBoxes(bool finishing) {
    const std::vector<ProgramBox> boxes = program_.Boxes();
    if (boxes.empty() && !finishing) {
        Note("answer boxes: none shown");
    }
    for (const ProgramBox& box : boxes) {
        if (box.Buttons.empty()) {
            continue;
        }
        int id = box.Buttons.front();
        if (StartsWith(box.Text, DeleteQuestion)) {
            id = IDNO;  // a question the test did not ask for itself: nothing is recorded for it
        } else if (StartsWith(box.Text, RenameQuestion)) {
            id = finishing || Chance(50) ? IDNO : IDYES;
        }
        Note("answer " + Quoted(box.Text.substr(0, 40)) + " with " +
             (id == IDYES  ? "Yes"
              : id == IDNO ? "No"
                           : "OK"));
        Answer(box, id, "answering");
    }
}

bool Session::WaitIdle(unsigned timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs && !program_.HasExited()) {
        if (!program_.Boxes().empty()) {
            AnswerBoxes(false);
            continue;
        }
        if (program_.IsEnabled(program_.Button("Find")) &&
            program_.IsEnabled(program_.Button("Restore File")) && program_.Drain(5000) &&
            program_.Boxes().empty()) {
            return true;
        }
        Sleep(20);
    }
    return false;
}

long Session::Close() {
    const DWORD start = GetTickCount();
    for (int attempt = 0;; ++attempt) {
        if (program_.HasExited()) {
            return program_.Close(0);
        }
        if (GetTickCount() - start > 90000) {
            Problem("the program did not end within 90 s of closing its window");
            return -1;
        }
        AnswerBoxes(true);
        if (attempt > 0) {
            // The close is refused while a search runs: stop it first, as the box asks.
            program_.Click("Stop");
        }
        Note(attempt == 0 ? "close the window" : "close the window again");
        const long code = program_.Close(2000);
        if (code != -1) {
            return code;
        }
    }
}

}  // namespace noloss
