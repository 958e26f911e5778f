#pragma once
// Message pumps for tests that drive real windows on the test's own thread.
#include <windows.h>

#include <functional>

// Dispatches every waiting message, painting included (bounded, so that a window that
// never validates cannot hang a test). A quit message is taken from the queue and dropped.
void PumpMessages();

// Dispatches messages every 10 ms until done() holds; false when it still does not after
// timeoutMs.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Dispatches messages for milliseconds, so that posted and generated messages (paint,
// mouse tracking, timers) settle; pumps at least once.
void PumpFor(DWORD milliseconds);
