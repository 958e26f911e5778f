#pragma once
// Modal message boxes: no owner window (the main window stays usable
// while a box is shown), captioned with the application object's caption.
#include <cstdint>
#include <string>

// MessageBoxA with the given flags (MB_ values, passed unchanged); returns the button
// pressed (IDOK, IDYES, IDNO, ...), 0 when the box could not be shown. Without an
// application object the system's default caption appears.
int ShowMessageBox(const std::string& text, std::uint32_t flags);
// The plain variant: flags 0 (MB_OK, no icon).
int ShowMessageBox(const std::string& text);
