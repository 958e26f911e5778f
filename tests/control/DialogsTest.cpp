#include "control/Control.h"
#include "control/FolderDialog.h"
#include "control/MessageBox.h"
#include "control/SystemErrorText.h"

#include "support/MessageBoxAnswerer.h"
#include "support/ProgramTexts.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

namespace {

using MessageBoxAProc = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);

// MessageBoxA reached through GetProcAddress, bypassing the executable's import.
int UninterceptedMessageBoxA(LPCSTR text, LPCSTR caption, UINT flags) {
    MessageBoxAProc proc = reinterpret_cast<MessageBoxAProc>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "MessageBoxA")));
    return proc(nullptr, text, caption, flags);
}

TEST(SystemErrorTextTest, FileNotFoundTextHasNoTrailingLineBreak) {
    std::string text = SystemErrorText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(text.empty());
    EXPECT_GT(static_cast<unsigned char>(text.back()), static_cast<unsigned char>(' '));
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_EQ(text.find('\r'), std::string::npos);

    char raw[256] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, ERROR_FILE_NOT_FOUND, 0, raw, sizeof(raw), nullptr);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(std::string(raw).compare(0, text.size(), text), 0);
}

TEST(SystemErrorTextTest, UnknownCodeGivesEmptyText) {
    EXPECT_EQ(SystemErrorText(0x2FFFFFFF), "");
    EXPECT_EQ(SystemErrorText(54321), "");
}

TEST(SystemErrorTextTest, TextWithAnInsertIsNotFilledFromMissingArguments) {
    // "%1 is not a valid Win32 application.": no argument array is passed, so the
    // system refuses to format it rather than reading arguments that do not exist.
    std::string text = SystemErrorText(ERROR_BAD_EXE_FORMAT);
    EXPECT_EQ(text, "");
}

TEST(MessageBoxAnswererTest, RecordsCaptionTextAndExactFlagsAndPressesTheAnswer) {
    MessageBoxAnswerer answerer(IDNO);
    int result =
        MessageBoxA(nullptr, "Delete the files?", "Answerer caption", MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(result, IDNO);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    const AnsweredBox& box = answerer.Boxes()[0];
    EXPECT_TRUE(box.IsMessageBox);
    EXPECT_EQ(box.Caption, "Answerer caption");
    EXPECT_EQ(box.Text, "Delete the files?");
    EXPECT_EQ(box.Flags, uint32_t{MB_YESNO | MB_ICONQUESTION});
    EXPECT_TRUE(box.FlagsExact);
    EXPECT_FALSE(box.CaptionNull);
    EXPECT_EQ(box.Answer, IDNO);
    EXPECT_TRUE(answerer.InterceptsMessageBoxA());
}

TEST(MessageBoxAnswererTest, QueuedAnswersComeFirstThenTheDefault) {
    MessageBoxAnswerer answerer({IDYES, IDNO}, IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "one", "c", MB_YESNO), IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "two", "c", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "three", "c", MB_OK), IDOK);
    answerer.Enqueue(IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "four", "c", MB_OKCANCEL), IDCANCEL);
    ASSERT_EQ(answerer.Boxes().size(), 4u);
    EXPECT_EQ(answerer.Boxes()[0].Text, "one");
    EXPECT_EQ(answerer.Boxes()[3].Text, "four");
    EXPECT_EQ(answerer.Boxes()[3].Flags, static_cast<uint32_t>(MB_OKCANCEL));
}

TEST(MessageBoxAnswererTest, RebuildsButtonsAndIconWhenTheCallIsNotIntercepted) {
    MessageBoxAnswerer answerer(IDOK);
    const UINT cases[] = {MB_OK,
                          MB_ICONERROR,
                          MB_YESNO | MB_ICONQUESTION,
                          MB_ICONWARNING,
                          MB_YESNO | MB_ICONWARNING,
                          MB_ICONINFORMATION,
                          MB_OKCANCEL | MB_ICONHAND,
                          MB_YESNOCANCEL};
    for (UINT flags : cases) {
        answerer.Enqueue(
            (flags & MB_TYPEMASK) == MB_YESNO || (flags & MB_TYPEMASK) == MB_YESNOCANCEL ? IDYES
                                                                                         : IDOK);
        UninterceptedMessageBoxA("text", "caption", flags);
    }
    ASSERT_EQ(answerer.Boxes().size(), sizeof(cases) / sizeof(cases[0]));
    for (size_t i = 0; i < answerer.Boxes().size(); ++i) {
        EXPECT_FALSE(answerer.Boxes()[i].FlagsExact);
        EXPECT_EQ(answerer.Boxes()[i].Flags, cases[i]) << "case " << i;
    }
}

TEST(MessageBoxAnswererTest, NullCaptionIsRecordedAndTheSystemCaptionShown) {
    MessageBoxAnswerer answerer;
    EXPECT_EQ(MessageBoxA(nullptr, "no caption", nullptr, MB_OK), IDOK);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_TRUE(answerer.Boxes()[0].CaptionNull);
    EXPECT_FALSE(answerer.Boxes()[0].Caption.empty());
}

// Makes a form the application object for the test's duration.
class ApplicationForm {
public:
    explicit ApplicationForm(const std::string& caption) : form_(CreateForm(nullptr, caption)) {
        SetApplicationObject(form_);
    }
    ~ApplicationForm() {
        SetApplicationObject(nullptr);
        form_->Release();
    }
    Control* Form() const { return form_; }

private:
    Control* form_;
};

TEST(ShowMessageBoxTest, CaptionIsTheApplicationCaptionAndFlagsPassUnchanged) {
    ApplicationForm application(ProgramTitle);
    MessageBoxAnswerer answerer({IDNO, IDOK}, IDOK);
    EXPECT_EQ(ShowMessageBox("Replace the files?", MB_YESNO | MB_ICONWARNING), IDNO);
    EXPECT_EQ(ShowMessageBox("Restoring files were stopped"), IDOK);
    ASSERT_EQ(answerer.Boxes().size(), 2u);
    EXPECT_EQ(answerer.Boxes()[0].Caption, ProgramTitle);
    EXPECT_EQ(answerer.Boxes()[0].Text, "Replace the files?");
    EXPECT_EQ(answerer.Boxes()[0].Flags, uint32_t{MB_YESNO | MB_ICONWARNING});
    EXPECT_EQ(answerer.Boxes()[1].Flags, uint32_t{MB_OK});
    EXPECT_TRUE(answerer.Boxes()[1].FlagsExact);
}

TEST(ShowMessageBoxTest, CaptionFollowsTheApplicationTitle) {
    ApplicationForm application("first");
    application.Form()->SetText("second title");
    MessageBoxAnswerer answerer;
    ShowMessageBox("text", MB_ICONINFORMATION);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].Caption, "second title");
    EXPECT_EQ(answerer.Boxes()[0].Flags, uint32_t{MB_ICONINFORMATION});
}

TEST(ShowMessageBoxTest, WithoutApplicationObjectTheSystemCaptionIsShown) {
    ASSERT_EQ(ApplicationObject(), nullptr);
    MessageBoxAnswerer answerer(IDYES);
    EXPECT_EQ(ShowMessageBox("Question", MB_YESNO | MB_ICONQUESTION), IDYES);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_TRUE(answerer.Boxes()[0].CaptionNull);
    EXPECT_FALSE(answerer.Boxes()[0].Caption.empty());
}

TEST(FolderDialogTest, EmptyOptionSetMeansFileSystemFoldersOnly) {
    FolderDialog* dialog = CreateFolderDialog("", 0);
    EXPECT_EQ(BrowseFlagsOf(dialog->Options), static_cast<UINT>(BIF_RETURNONLYFSDIRS));
    EXPECT_EQ(FolderDialogPath(dialog), "");
    dialog->Release();

    dialog = CreateFolderDialog("title", FolderEditBox | FolderNewDialogStyle);
    EXPECT_EQ(BrowseFlagsOf(dialog->Options), static_cast<UINT>(BIF_EDITBOX | BIF_NEWDIALOGSTYLE));
    dialog->Release();
}

TEST(FolderDialogTest, CancelledChooserReturnsFalseAndKeepsThePath) {
    ApplicationForm application(ProgramTitle);
    FolderDialog* dialog = CreateFolderDialog("", 0);
    dialog->Path = "C:\\Previous\\";
    dialog->Title = "Select the path to search";
    MessageBoxAnswerer answerer(IDCANCEL);
    EXPECT_FALSE(BrowseForFolder(dialog));
    EXPECT_EQ(FolderDialogPath(dialog), "C:\\Previous\\");
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_FALSE(answerer.Boxes()[0].IsMessageBox);
    EXPECT_EQ(answerer.Boxes()[0].Answer, IDCANCEL);
    EXPECT_EQ(answerer.Boxes()[0].Text, "Select the path to search");
    dialog->Release();
}

TEST(FolderDialogTest, ConfirmedChoiceGivesAnExistingFolder) {
    FolderDialog* dialog = CreateFolderDialog("", 0);
    MessageBoxAnswerer answerer(IDOK);
    ASSERT_TRUE(BrowseForFolder(dialog));
    std::string path = FolderDialogPath(dialog);
    DWORD attributes = GetFileAttributesA(path.c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES) << path;
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u) << path;
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_FALSE(answerer.Boxes()[0].IsMessageBox);
    dialog->Release();
}

}  // namespace
