#pragma once
// Answers modal dialogs of the calling thread while it lives: message boxes and the
// shell's folder chooser are shown for real and closed by pressing a chosen button, so
// tests can run code that asks the user something. Every dialog is recorded in order.
//
//     MessageBoxAnswerer answerer(IDNO);          // every box is answered "No"
//     answerer.Enqueue(IDYES);                    // ... except the next one
//     RunTheCommand();
//     ASSERT_EQ(answerer.Boxes().size(), 2u);
//     EXPECT_EQ(answerer.Boxes()[0].Text, "Delete the files?");
//     EXPECT_EQ(answerer.Boxes()[0].Flags, uint32_t{MB_YESNO | MB_ICONQUESTION});
//
// How it works: a thread-local WH_CALLWNDPROCRET hook sees WM_INITDIALOG of every
// top-level dialog, reads its caption and text once the dialog has initialised itself,
// and posts it a WM_COMMAND of the answer, which the dialog's own modal loop then
// handles. While an answerer lives, the executable's import of MessageBoxA is redirected
// to a recorder that notes the arguments and calls the real MessageBoxA, so for boxes
// shown by code linked into the test executable the flags are exactly those passed.
//
// Only one answerer may be active on a thread at a time (construction fails an
// assertion otherwise).
#include <windows.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

struct AnsweredBox {
    // Title bar text as shown (the system's default caption when NULL was passed).
    std::string Caption;
    // A message box's message text as shown; for other dialogs the text of their first
    // text label (for the folder chooser: its title line), or empty.
    std::string Text;
    // A message box's message text as the platform shows it (UTF-16).
    std::wstring TextAsShown;
    // MessageBoxA flags. When FlagsExact is true these are the flags passed to
    // MessageBoxA. Otherwise they are rebuilt from the window: the button set
    // (MB_OK ... MB_CANCELTRYCONTINUE), MB_HELP and the icon (MB_ICONHAND,
    // MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONASTERISK); default button, modality
    // and the other option bits cannot be read back and are 0. 0 for other dialogs.
    uint32_t Flags = 0;
    bool FlagsExact = false;
    // True when MessageBoxA was called with a NULL caption (known only when FlagsExact).
    bool CaptionNull = false;
    // True for message boxes, false for other dialogs (the folder chooser, ...).
    bool IsMessageBox = false;
    // The command identifier pressed (IDOK, IDCANCEL, IDYES, IDNO, ...).
    int Answer = 0;
};

class MessageBoxAnswerer {
public:
    // An answer that makes the next message box fail to appear: MessageBoxA returns 0
    // without showing it, as when the system cannot create it. Needs exact flags
    // (InterceptsMessageBoxA); the box is recorded with Answer 0.
    static constexpr int NotShown = 0;

    // Every dialog is answered with defaultAnswer unless an answer is queued.
    explicit MessageBoxAnswerer(int defaultAnswer = IDOK);
    // The given answers are used in order, then defaultAnswer.
    MessageBoxAnswerer(std::initializer_list<int> answers, int defaultAnswer);
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    // Queues an answer for the next dialog not yet answered.
    void Enqueue(int answer);
    // Dialogs answered so far, oldest first.
    const std::vector<AnsweredBox>& Boxes() const { return boxes_; }
    // Message boxes only (the folder chooser and other dialogs left out), oldest first.
    std::vector<AnsweredBox> MessageBoxes() const;
    // Forgets the recorded dialogs (queued answers stay).
    void ClearBoxes() { boxes_.clear(); }
    // True when the executable's MessageBoxA import could be redirected (exact flags).
    bool InterceptsMessageBoxA() const { return importSlot_ != nullptr; }
    // Runs check with each dialog while it is shown, before it is answered: the state of
    // the program at that moment can be examined.
    void OnEachBox(std::function<void(const AnsweredBox&)> check) { check_ = std::move(check); }

    // Implementation details, used by the hook procedures.
    void OnDialogInitialised(HWND dialog);
    // True (and the box recorded) when the next message box is to fail to appear.
    bool SkipMessageBox(LPCSTR text, LPCSTR caption, UINT flags);

private:
    int NextAnswer();

    HHOOK hook_ = nullptr;
    int defaultAnswer_;
    std::deque<int> answers_;
    std::vector<AnsweredBox> boxes_;
    void** importSlot_ = nullptr;
    void* originalImport_ = nullptr;
    std::function<void(const AnsweredBox&)> check_;
};
