#pragma once
// The program's arguments. Without any the window opens as usual; with them the program
// searches (and restores) unattended. Switches are case-insensitive and begin with "/" or
// "-"; a switch that takes a value is followed by it as the next argument.
#include <string>
#include <vector>

enum class CommandAction {
    Interactive,  // no arguments: the window
    Usage,        // "/?": print the usage
    Find,         // "/find FOLDER"
    Restore,      // "/restore FOLDER"
    Invalid,      // refused; Reason tells why
};

struct CommandLine {
    CommandAction Action = CommandAction::Interactive;
    std::string Folder;
    std::string Mask = "*.exe";       // the mask box's rules, "^" exclusions included
    bool Delete = false;              // "/delete": delete the infected files
    std::string RenameText = "_vrs";  // "/rename EXT": the "Rename with" text
    std::string ReportPath;           // "/report FILE"; empty: no report
    bool Quiet = false;               // "/quiet": print the summary only
    std::string Reason;               // one line, for Invalid
};

// Reads the arguments (without the program's name). Invalid with a reason for an
// unknown switch, a missing or empty value, a switch given twice, both /find and
// /restore or neither, /delete together with /rename, /delete or /rename without
// /restore, and an invalid rename text.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// True when text may follow the full stop of a renamed file: not blank, no character
// below 32 and none of \ / : * ? " < > |.
bool IsValidRenameText(const std::string& text);

// The usage, one text with "\r\n" between lines.
std::string UsageText();

// The process's arguments without the program's name, split by the platform's rules and
// converted to the ANSI code page. False, with reason, when an argument holds characters
// that code page cannot represent (a file name with them could not be reached anyway).
bool ProgramArguments(std::vector<std::string>& arguments, std::string& reason);
