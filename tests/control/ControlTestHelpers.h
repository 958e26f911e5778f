#pragma once
// Helpers shared by the control layer's own tests.
#include <windows.h>

#include <string>

#include "control/Control.h"
#include "support/WindowCapture.h"

// Counts destroyed objects through their destroy notification.
inline void CountDestroyed(void* counter, ManagedObject*) {
    ++*static_cast<int*>(counter);
}

inline void WatchDestruction(ManagedObject* object, int* counter) {
    object->SetDestroyNotification(CountDestroyed, counter);
}

inline std::string WindowClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

inline std::string WindowTextOf(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

inline DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
}

inline DWORD ExStyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
}

inline void ExpectRect(const RECT& rect, int left, int top, int right, int bottom) {
    EXPECT_EQ(rect.left, left);
    EXPECT_EQ(rect.top, top);
    EXPECT_EQ(rect.right, right);
    EXPECT_EQ(rect.bottom, bottom);
}

// Set when the safety timeout of RunLoopWithTimeout had to end the loop.
inline bool& LoopTimedOut() {
    static bool timedOut = false;
    return timedOut;
}

// Ends a run loop that a faulty test would leave waiting forever.
inline void CALLBACK QuitAfterTimeout(HWND, UINT, UINT_PTR, DWORD) {
    LoopTimedOut() = true;
    PostQuitMessage(0);
}

// Runs the loop of mainWindow with a safety timeout; resets the loop state before and
// after. False when the timeout had to end the loop.
inline bool RunLoopWithTimeout(Control*& mainWindow, UINT timeoutMs = 5000) {
    ResetRunLoopState();
    LoopTimedOut() = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, timeoutMs, QuitAfterTimeout);
    RunLoop(mainWindow);
    KillTimer(nullptr, timer);
    ResetRunLoopState();
    return !LoopTimedOut();
}
