#include "app/Commands.h"

#include <windows.h>

#include <string>
#include <vector>

#include "app/Unit1.h"
#include "control/Control.h"
#include "control/MessageBox.h"
#include "search/ExactPath.h"
#include "search/FileNameExtension.h"
#include "search/ResultList.h"
#include "search/TextHelpers.h"

namespace {

const int DeleteKey = VK_DELETE;  // 46

// Button colours (0x00BBGGRR).
const ColourValue White = 0xFFFFFF;
const ColourValue Maroon = 0x000080;
const ColourValue Blue = 0xFF0000;
const ColourValue PressedFace = 0x9D4F4F;  // (79, 79, 157)
const ColourValue Silver = 0xC0C0C0;
const ColourValue NormalFace = 0xC08080;  // (128, 128, 192)

const char* const AboutLines[] = {
    "Quillfix 1.0 RC 2",
    "",
    "Tools untuk me-restore file Word dan Excel yang terkena virus",
    "Caranya :",
    "1. Cari folder yang terdapat dokumennya",
    "2. Klik Find ( Stop untuk menghentikan pencarian )",
    "3. Klik Restore File untuk mengembalikan dokumen",
    "4. Yang tidak terdeteksi doc atau xls akan berekstensi *.dat",
    "",
    "Untuk menghapus file di daftar, pilih dan tekan tombol Delete",
    "Pembuat tidak bertanggung jawab jika ada kehilangan / kerusakan data",
    "Pastikan dicoba dulu dengan memilih \"Rename Viruses\"",
};

// "Delete files" and "Rename files" have their own colours.
bool CaptionContainsFiles(Control* button) {
    return TextPosition("files", button->GetText()) > 0;
}

// The file of a row selected when a command was clicked, and where its row was then.
struct SelectedFile {
    int Row;
    std::string Path;
    std::string Name;
};

std::vector<SelectedFile> SelectedFiles(ResultList& rows) {
    std::vector<SelectedFile> files;
    for (int row = rows.NextSelectedRow(-1); row >= 0; row = rows.NextSelectedRow(row)) {
        files.push_back(
            SelectedFile{row, rows.GetCell(row, PathColumn), rows.GetCell(row, NameColumn)});
    }
    return files;
}

// The row that shows the file now (rows may have moved or gone while a question was
// open); -1 when there is none.
int RowOf(ResultList& rows, const SelectedFile& file) {
    if (rows.GetCell(file.Row, NameColumn) == file.Name &&
        rows.GetCell(file.Row, PathColumn) == file.Path) {
        return file.Row;
    }
    const int count = rows.RowCount();
    for (int row = 0; row < count; ++row) {
        if (rows.GetCell(row, NameColumn) == file.Name &&
            rows.GetCell(row, PathColumn) == file.Path) {
            return row;
        }
    }
    return -1;
}

// Deletes or renames one selected file and updates its row; a failure leaves the row as
// it was.
void ProcessFile(ResultList& rows, const SelectedFile& selected, SelectedFilesMode mode,
                 const std::string& extension) {
    const std::string file = selected.Path + selected.Name;
    if (mode == SelectedFilesMode::Delete) {
        if (DeleteFileA(ExactPath(file).c_str())) {
            const int row = RowOf(rows, selected);
            if (row >= 0) {
                rows.SetCell(row, NameColumn, "");
                rows.SetCell(row, PathColumn, "");
                rows.SetCell(row, SizeColumn, "");
                rows.SetCell(row, InformationColumn, "");
            }
        }
        return;
    }
    // Only the file name's extension is replaced: a full stop in a folder name must not
    // move the file into another folder.
    const std::string renamed = ReplaceFileNameExtension(file, extension);
    if (MoveFileA(ExactPath(file).c_str(), ExactPath(renamed).c_str())) {
        const int row = RowOf(rows, selected);
        if (row >= 0) {
            rows.SetCell(row, NameColumn, FileNameOf(renamed));
        }
    }
}

// True, with the information line telling why, while a search or a restore runs: the
// files of the rows are theirs until they end.
bool RefusedDuringRun(MainWindow* window) {
    const char* text = RestoreRunning(window)   ? "Stop the restoring first"
                       : window->Searching != 0 ? "Stop the searching first"
                                                : nullptr;
    if (text != nullptr) {
        window->InfoLabel->SetText(text);
    }
    return text != nullptr;
}

}  // namespace

void ProcessSelectedFiles(MainWindow* window, SelectedFilesMode mode) {
    if (RefusedDuringRun(window)) {
        return;
    }
    ResultList rows(window->ResultListView);
    if (rows.RowCount() < 1) {
        return;
    }
    // The files are those selected now, whatever the selection is when the question is
    // answered.
    const std::vector<SelectedFile> files = SelectedFiles(rows);
    if (files.empty()) {
        ShowMessageBox("Select the file from the list first", MB_ICONINFORMATION);
        return;
    }
    std::string extension;
    if (mode == SelectedFilesMode::Rename) {
        extension = TrimBlanks(window->RenameFilesEdit->GetText());
        if (extension.empty()) {
            ShowMessageBox("File extention is empty\r\nPlease fill the file extention",
                           MB_ICONHAND);
            return;
        }
        if (!ExtensionTextAllowed(extension)) {
            window->InfoLabel->SetText(ExtensionRefusedText);
            return;
        }
        extension = "." + extension;
    }
    const int answer = mode == SelectedFilesMode::Delete
                           ? ShowMessageBox(
                                 "Are you sure you want to delete the selected files ?\r\nThis "
                                 "will delete the files",
                                 MB_YESNO | MB_ICONEXCLAMATION)
                           : ShowMessageBox("Are you sure you rename the selected files ?",
                                            MB_YESNO | MB_ICONQUESTION);
    // Only a clear Yes goes on: a box that could not be shown (0) counts as No.
    if (answer != IDYES || RefusedDuringRun(window)) {
        return;
    }
    for (const SelectedFile& file : files) {
        ProcessFile(rows, file, mode, extension);
    }
}

void SelectAllFiles(MainWindow* window) {
    ResultList(window->ResultListView).SelectAllRows();
}

void ClearAllFiles(MainWindow* window) {
    ResultList(window->ResultListView).SetRowState(-1, RowCut);
}

void ClearResult(MainWindow* window) {
    ResultList(window->ResultListView).ClearRows();
}

void DeleteListedRows(MainWindow* window) {
    ResultList rows(window->ResultListView);
    if (rows.RowCount() <= 0) {
        return;
    }
    for (int row = rows.NextSelectedRow(-1); row != -1; row = rows.NextSelectedRow(-1)) {
        const int before = rows.RowCount();
        rows.DeleteRow(row);
        if (rows.RowCount() == before) {
            return;  // the control refused: stop instead of asking for the same row forever
        }
    }
}

void HandleListKeyDown(MainWindow* window, Control*, int& keyCode) {
    if (keyCode == DeleteKey) {
        ResultList rows(window->ResultListView);
        rows.DeleteRow(rows.FocusedRow());
    }
}

void WarnDeleteInfected(MainWindow* window) {
    if (window->DeleteInfectedRadio->IsChecked()) {
        ShowMessageBox(
            "Peringatan...\r\nDengan mengaktifkan pilihan ini,\r\nfile yang terinfeksi virus akan "
            "langsung dihapus",
            MB_ICONEXCLAMATION);
    }
}

void ShowAbout(MainWindow*) {
    std::string text = AboutLines[0];
    for (size_t line = 1; line < sizeof AboutLines / sizeof AboutLines[0]; ++line) {
        text += "\r\n";
        text += AboutLines[line];
    }
    ShowMessageBox(text, MB_ICONINFORMATION);
}

void HoverHighlight(MainWindow*, Control* button) {
    button->SetColour(White);
    button->SetFontColour(CaptionContainsFiles(button) ? Maroon : Blue);
}

void PressHighlight(MainWindow*, Control* button) {
    button->SetColour(PressedFace);
    button->SetFontColour(Silver);
}

void RestoreNormalLook(MainWindow*, Control* button) {
    button->SetColour(CaptionContainsFiles(button) ? Maroon : NormalFace);
    button->SetFontColour(White);
}
