#pragma once
// Drives a running quillfix.exe from another process the way a user would: finds its
// window by title, types into its edit boxes, clicks its buttons, reads the result list
// and the information line, and answers its message boxes. Every call that needs the
// program to answer waits at most a few seconds, so a hung program fails a test instead
// of blocking it.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "support/StartedProgram.h"

// A message box shown by the program.
struct ProgramBox {
    HWND Window = nullptr;
    std::string Caption;
    std::string Text;
    // Command identifiers of the box's buttons (IDOK, IDYES, IDNO, ...), in window order.
    std::vector<int> Buttons;
    // Whether the box shows an icon (the static control of style SS_ICON is visible).
    bool HasIcon = false;
};

class ProgramDriver {
public:
    ProgramDriver() = default;
    ProgramDriver(const ProgramDriver&) = delete;
    ProgramDriver& operator=(const ProgramDriver&) = delete;

    // Starts the program and waits until its window carries the given title and its
    // controls are found. False (with Failure() telling why) otherwise.
    bool Start(const std::string& programPath, const std::string& title);
    const std::string& Failure() const { return failure_; }

    HWND MainWindow() const { return main_; }
    DWORD ProcessId() const { return program_.ProcessId(); }

    // The push button, radio button or other button with this caption; nullptr if none.
    HWND Button(const std::string& caption) const;
    HWND FolderEdit() const { return folderEdit_; }
    HWND MaskCombo() const { return maskCombo_; }
    HWND InfoLabel() const { return infoLabel_; }
    HWND ListView() const { return listView_; }
    HWND RenameFilesEdit() const { return renameFilesEdit_; }
    HWND RenameWithEdit() const { return renameWithEdit_; }

    // WM_SETTEXT / WM_GETTEXT across the process boundary.
    bool SetText(HWND window, const std::string& text) const;
    std::string Text(HWND window) const;
    // Types text into an edit box: clears it, then sends one WM_CHAR per character; a text
    // with characters outside ASCII is pasted whole (WM_SETTEXT as UTF-16) instead.
    bool Type(HWND edit, const std::string& text) const;
    // Posts a click to a button (BM_CLICK), returning at once: the program runs the
    // command in its own time, as it does for a mouse click.
    void Click(HWND button) const;
    void Click(const std::string& caption) const { Click(Button(caption)); }
    // Clicks a button and waits until the program has run the command (for commands that
    // show no message box); false when the program did not finish it within timeoutMs.
    bool ClickAndWait(const std::string& caption, UINT timeoutMs = 10000) const;
    bool IsEnabled(HWND window) const { return IsWindowEnabled(window) != FALSE; }

    // Returns once the program has come back to its message loop (a command that runs
    // without handling messages has then finished); false when it did not in time.
    bool Sync() const;

    // Waits until the information line starts with one of the prefixes; returns the
    // whole text then, or an empty text after timeoutMs.
    std::string WaitForInfo(const std::vector<std::string>& prefixes, DWORD timeoutMs) const;

    // Result list, read from the program's list view.
    int RowCount() const;
    std::string Cell(int row, int column) const;
    // The cell as the list view shows it, read through the wide API (LVM_GETITEMTEXTW).
    std::wstring CellAsShown(int row, int column) const;
    std::vector<std::vector<std::string>> Rows() const;
    unsigned RowState(int row) const;
    bool IsRowSelected(int row) const { return (RowState(row) & LVIS_SELECTED) != 0; }
    // Indexes of the selected rows, in order.
    std::vector<int> SelectedRows() const;
    // Replaces the row's state flags (row -1: every row), as a user's selection would.
    bool SetRowState(int row, unsigned state) const;
    // Posts the same change, returning at once: it takes effect in the program's turn,
    // after the messages posted before it.
    bool PostRowState(int row, unsigned state) const;
    // Index of the row whose Name cell is name; -1 when there is none.
    int FindRow(const std::string& name) const;

    // Waits for a message box of the program; false after timeoutMs.
    bool WaitForBox(ProgramBox& box, DWORD timeoutMs) const;
    // Every message box the program shows now (several when one was opened from the
    // message handling of another), in no particular order.
    std::vector<ProgramBox> Boxes() const;
    // True when no message box of the program appears within ms.
    bool NoBoxWithin(DWORD ms) const;
    // Presses the box's button with the given identifier and waits until the box is gone.
    bool Answer(const ProgramBox& box, int id) const;
    // Presses the box's button and waits until the box is hidden: a box opened below
    // another one's message handling is destroyed only once that one has returned.
    bool Dismiss(const ProgramBox& box, int id) const;

    // Posts a left click on the header of the list's column, as the mouse would.
    void ClickColumnHeader(int column) const;
    // Posts a key press (down and up) to the result list.
    void PressListKey(UINT key) const;
    // Returns once every message posted to the program before this call has been taken
    // from its queue (a marker posted behind them has been handled); false after timeoutMs.
    bool Drain(DWORD timeoutMs) const;

    // Asks the window to close (WM_CLOSE) and waits for the process to end; the exit
    // code, or -1 when the program did not end within timeoutMs.
    long Close(DWORD timeoutMs);
    bool HasExited() const;
    // The exit code once the process has ended; -1 while it runs.
    long ExitCode() const { return program_.ExitCode(); }
    // True while a visible top-level window of the program carries this title.
    bool WindowShown(const std::string& title) const {
        return program_.WindowTitled(title) != nullptr;
    }

private:
    bool FindControls();
    ProgramBox ReadBox(HWND window) const;

    StartedProgram program_;
    HWND main_ = nullptr;
    HWND folderEdit_ = nullptr;
    HWND maskCombo_ = nullptr;
    HWND infoLabel_ = nullptr;
    HWND listView_ = nullptr;
    HWND renameFilesEdit_ = nullptr;
    HWND renameWithEdit_ = nullptr;
    std::string failure_;
    // Memory in the program for the records of posted list messages, which must outlive
    // the call; it goes with the process.
    mutable char* postedRecords_ = nullptr;
    mutable size_t postedUsed_ = 0;
};
