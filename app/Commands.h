#pragma once
// The main window's small commands: deleting or renaming the selected files, the list
// commands, the Delete key, the delete-option warning, the about box and the push
// buttons' colour feedback.
struct MainWindow;
struct Control;

enum class SelectedFilesMode { Delete, Rename };

void ProcessSelectedFiles(MainWindow* window, SelectedFilesMode mode);
void SelectAllFiles(MainWindow* window);    // "Select All"
void ClearAllFiles(MainWindow* window);     // "Clear All"
void ClearResult(MainWindow* window);       // "Clear Result"
void DeleteListedRows(MainWindow* window);  // "Delete list"
void HandleListKeyDown(MainWindow* window, Control* sender, int& keyCode);
void WarnDeleteInfected(MainWindow* window);
void ShowAbout(MainWindow* window);
void HoverHighlight(MainWindow* window, Control* button);
void PressHighlight(MainWindow* window, Control* button);
void RestoreNormalLook(MainWindow* window, Control* button);
