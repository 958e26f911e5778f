#pragma once
// A small real window for the restore tests: a form with the result list, the
// information line, "Restore File", "Stop Restore", the two radio buttons and the rename
// edit, filled into a RestoreWindow record.
#include <windows.h>

#include <string>
#include <vector>

#include "control/Control.h"
#include "control/MessageLoop.h"
#include "control/StringList.h"
#include "recovery/RestoreFiles.h"
#include "recovery/RestoreWindow.h"
#include "search/ResultList.h"
#include "support/UserInput.h"

class RestoreTestWindow {
public:
    RestoreTestWindow() {
        form_ = CreateForm(nullptr, "Restore test");
        form_->SetPosition(40, 40)->SetClientSize(700, 360);
        record_.MainForm = form_;
        record_.RestoreButton = CreateButton(form_, "Restore File", ButtonNoBorder, 0, nullptr, 0);
        record_.RestoreButton->SetPosition(4, 4)->Resize(105, 22);
        record_.StopRestoreButton =
            CreateButton(form_, "Stop Restore", ButtonNoBorder, 0, nullptr, 0);
        record_.StopRestoreButton->SetPosition(114, 4)->Resize(105, 22);
        record_.DeleteInfectedRadio = CreateRadioButton(form_, "Delete infected files");
        record_.DeleteInfectedRadio->SetPosition(230, 6)->Resize(150, 18);
        record_.RenameWithRadio = CreateRadioButton(form_, "Rename with");
        record_.RenameWithRadio->SetPosition(390, 6)->Resize(100, 18);
        record_.RenameWithEdit = CreateEdit(form_, 0);
        record_.RenameWithEdit->SetPosition(495, 5)->Resize(60, 20)->SetText("_vrs");
        record_.ResultListView = CreateResultListView(form_);
        record_.ResultListView->SetPosition(4, 32)->Resize(692, 300);
        record_.InfoLabel = CreateLabel(form_, "Information");
        record_.InfoLabel->SetPosition(4, 338)->Resize(692, 17);
        record_.RestoreButton->SetClickEvent(OnRestore, &record_);
        record_.StopRestoreButton->SetClickEvent(OnStopRestore, &record_);
        record_.SearchStopped = 1;
        record_.OffsetList = NewStringList();
        form_->SetDestroyNotification(OnFormDestroyed, this);
        form_->WindowHandle();
        form_->SetVisible(true);
        record_.RenameWithRadio->SetChecked(true);
    }
    ~RestoreTestWindow() {
        if (form_ != nullptr) {
            form_->Release();
        }
        record_.OffsetList->Release();
        // A close leaves the quit message behind; the next test starts with a clean queue.
        MSG message;
        while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        ResetRunLoopState();
    }
    RestoreTestWindow(const RestoreTestWindow&) = delete;
    RestoreTestWindow& operator=(const RestoreTestWindow&) = delete;

    RestoreWindow& Record() { return record_; }
    ResultList List() { return ResultList(record_.ResultListView); }
    // False once the form has been destroyed (closed); its controls are gone then.
    bool FormAlive() const { return form_ != nullptr; }
    HWND FormHandle() const { return formHandle_; }

    // Adds a row for the file at folder + name the way the search does.
    int AddFile(const std::string& folder, const std::string& name) {
        ResultList list = List();
        const int row = list.AddRow(name);
        list.SetCell(row, PathColumn, folder);
        return row;
    }
    std::string Cell(const std::string& name, int column) {
        ResultList list = List();
        for (int row = 0; row < list.RowCount(); ++row) {
            if (list.GetCell(row, NameColumn) == name) {
                return list.GetCell(row, column);
            }
        }
        return "<no row " + name + ">";
    }
    std::vector<std::string> Offsets() const { return record_.OffsetList->Items; }

    void SetDeleteMode() { record_.DeleteInfectedRadio->SetChecked(true); }
    void SetRenameText(const std::string& text) { record_.RenameWithEdit->SetText(text); }

    // Click the buttons with a real BM_CLICK; return when the command has returned.
    void ClickRestore() {
        formHandle_ = form_->Handle;
        ::Click(record_.RestoreButton);
    }
    void ClickStopRestore() { ::Click(record_.StopRestoreButton); }

private:
    static void OnRestore(void* context, Control*) {
        RestoreFiles(static_cast<RestoreWindow*>(context));
    }
    static void OnStopRestore(void* context, Control*) {
        StopRestore(static_cast<RestoreWindow*>(context));
    }
    static void OnFormDestroyed(void* context, ManagedObject*) {
        static_cast<RestoreTestWindow*>(context)->form_ = nullptr;
    }

    Control* form_ = nullptr;
    HWND formHandle_ = nullptr;
    RestoreWindow record_;
};
