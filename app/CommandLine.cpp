#include "app/CommandLine.h"

#include <windows.h>

#include <shellapi.h>

#include "search/TextHelpers.h"

namespace {

const char* const ForbiddenRenameCharacters = "\\/:*?\"<>|";

// The switch name of an argument in lower case ("/Find" and "-find" give "find"); false
// when the argument is no switch.
bool SwitchName(const std::string& argument, std::string& name) {
    if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) {
        return false;
    }
    name.clear();
    for (size_t index = 1; index < argument.size(); ++index) {
        const char c = argument[index];
        name += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return true;
}

bool IsKnownSwitch(const std::string& argument) {
    std::string name;
    if (!SwitchName(argument, name)) {
        return false;
    }
    for (const char* known :
         {"find", "restore", "mask", "delete", "rename", "report", "quiet", "?"}) {
        if (name == known) {
            return true;
        }
    }
    return false;
}

bool HasControlCharacter(const std::string& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 32) {
            return true;
        }
    }
    return false;
}

CommandLine Refused(const std::string& reason) {
    CommandLine refused;
    refused.Action = CommandAction::Invalid;
    refused.Reason = reason;
    return refused;
}

// A path given with a quotation mark in it was almost always written as "C:\Folder\":
// the backslash before the closing quotation mark escapes it.
const char* const QuotedBackslashHint =
    " contains a quotation mark; leave out a backslash before a closing quotation mark";

}  // namespace

bool IsValidRenameText(const std::string& text) {
    return !TrimBlanks(text).empty() && !HasControlCharacter(text) &&
           text.find_first_of(ForbiddenRenameCharacters) == std::string::npos;
}

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine command;
    if (arguments.empty()) {
        return command;
    }
    std::string name;
    for (const std::string& argument : arguments) {
        if (SwitchName(argument, name) && name == "?") {
            command.Action = CommandAction::Usage;
            return command;
        }
    }

    bool actionGiven = false;
    bool maskGiven = false;
    bool renameGiven = false;
    bool reportGiven = false;
    bool quietGiven = false;
    for (size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (!SwitchName(argument, name)) {
            return Refused("Unknown argument: " + argument);
        }
        const bool takesValue = name == "find" || name == "restore" || name == "mask" ||
                                name == "rename" || name == "report";
        if (!takesValue && name != "delete" && name != "quiet") {
            return Refused("Unknown switch: " + argument);
        }
        std::string value;
        if (takesValue) {
            if (index + 1 >= arguments.size() || IsKnownSwitch(arguments[index + 1])) {
                return Refused(argument + " needs a value");
            }
            value = arguments[++index];
            if (TrimBlanks(value).empty()) {
                return Refused(argument + " needs a value that is not empty");
            }
        }

        if (name == "find" || name == "restore") {
            if (actionGiven) {
                return Refused("Give one /find or one /restore");
            }
            actionGiven = true;
            command.Action = name == "find" ? CommandAction::Find : CommandAction::Restore;
            if (value.find('"') != std::string::npos) {
                return Refused("The folder" + std::string(QuotedBackslashHint));
            }
            command.Folder = value;
        } else if (name == "mask") {
            if (maskGiven) {
                return Refused(argument + " is given twice");
            }
            maskGiven = true;
            command.Mask = value;
        } else if (name == "rename") {
            if (renameGiven) {
                return Refused(argument + " is given twice");
            }
            renameGiven = true;
            if (!IsValidRenameText(value)) {
                return Refused(HasControlCharacter(value)
                                   ? "The extension may not contain control characters"
                                   : "The extension may not contain \\ / : * ? \" < > |");
            }
            command.RenameText = value;
        } else if (name == "delete") {
            if (command.Delete) {
                return Refused(argument + " is given twice");
            }
            command.Delete = true;
        } else if (name == "report") {
            if (reportGiven) {
                return Refused(argument + " is given twice");
            }
            reportGiven = true;
            if (value.find('"') != std::string::npos) {
                return Refused("The report file" + std::string(QuotedBackslashHint));
            }
            command.ReportPath = value;
        } else {
            if (quietGiven) {
                return Refused(argument + " is given twice");
            }
            quietGiven = true;
            command.Quiet = true;
        }
    }

    if (!actionGiven) {
        return Refused("Give /find FOLDER or /restore FOLDER");
    }
    if (command.Delete && renameGiven) {
        return Refused("Give either /delete or /rename, not both");
    }
    if ((command.Delete || renameGiven) && command.Action != CommandAction::Restore) {
        return Refused("/delete and /rename go with /restore only");
    }
    return command;
}

std::string UsageText() {
    return "Quillfix 1.0 RC 2: finds and restores documents hidden in infected files.\r\n"
           "\r\n"
           "  quillfix.exe /find FOLDER [/mask TEXT] [/report FILE] [/quiet]\r\n"
           "  quillfix.exe /restore FOLDER [/mask TEXT] [/delete | /rename EXT] [/report FILE] "
           "[/quiet]\r\n"
           "\r\n"
           "  /find FOLDER     list the files below FOLDER whose names match the mask\r\n"
           "  /restore FOLDER  list them, then restore the document in each listed file\r\n"
           "  /mask TEXT       name masks separated by \";\", \"^\" excludes (default "
           "\"*.exe\")\r\n"
           "  /delete          delete each infected file once its document is saved\r\n"
           "  /rename EXT      rename each infected file with the extension EXT (default "
           "\"_vrs\")\r\n"
           "  /report FILE     write the list to FILE as CSV; FILE must not exist yet\r\n"
           "  /quiet           print the summary only\r\n"
           "  /?               print this text\r\n"
           "\r\n"
           "Switches may begin with \"/\" or \"-\". Exit codes: 0 no file failed, 1 a file failed "
           "or\r\n"
           "the run was stopped, 2 bad arguments, 3 the folder does not exist.";
}

bool ProgramArguments(std::vector<std::string>& arguments, std::string& reason) {
    arguments.clear();
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        reason = "The command line cannot be read";
        return false;
    }
    // A UTF-8 code page represents every character and takes no "default character" query.
    const bool utf8 = GetACP() == CP_UTF8;
    bool ok = true;
    for (int index = 1; index < count && ok; ++index) {
        BOOL lossy = FALSE;
        const int size = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide[index],
                                             -1, nullptr, 0, nullptr, utf8 ? nullptr : &lossy);
        std::string text(size > 0 ? static_cast<size_t>(size) : 1u, '\0');
        if (size > 0) {
            WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide[index], -1, &text[0],
                                size, nullptr, nullptr);
        }
        text.resize(text.size() - 1);
        if (size <= 0 || lossy) {
            reason = "Argument " + IntegerText(index) +
                     " holds characters this system's code page cannot show: " + text;
            ok = false;
        }
        arguments.push_back(text);
    }
    LocalFree(wide);
    return ok;
}
