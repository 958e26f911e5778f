// Program entry. Without arguments: builds the main window, runs the message loop until
// the window closes, and ends the process with exit code 0. With arguments: the
// command-line mode, which ends with its own exit code.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Unattended.h"
#include "app/Unit1.h"
#include "control/Control.h"
#include "control/MessageLoop.h"

namespace {

// The one main window object; the form owns it and releases it when the loop ends.
MainWindow* Form1 = nullptr;

[[noreturn]] void ProgramMain() {
    BuildMainWindow(&Form1, nullptr);
    // The loop releases the form and with it Form1, so it is given a variable of its own
    // to clear, not Form1's MainForm.
    Control* mainForm = Form1->MainForm;
    RunLoop(mainForm);
    Form1 = nullptr;
    std::exit(0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::vector<std::string> arguments;
    std::string fault;
    const bool readable = ProgramArguments(arguments, fault);
    if (readable && arguments.empty())
        ProgramMain();
    std::exit(RunCommandLine(arguments, readable ? std::string() : fault));
}
