#pragma once
// Pieces the window benchmarks share: the summary box answered the moment it appears,
// a sampler of the process's working set, and the bare recursive folder walk that the
// search is measured against.
#include <windows.h>

#include <psapi.h>

#include <atomic>
#include <string>

#include "bench/BenchTiming.h"
#include "control/UniqueHandle.h"

namespace bench {

// Set by SummaryBoxHook when a message box appears (the run's work is done then).
inline double boxShownAt = 0;
inline std::atomic<bool> boxShown{false};

// A WH_CBT hook procedure that presses OK on every message box as soon as it is shown
// and notes when that was.
inline LRESULT CALLBACK SummaryBoxHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        if (std::string(className) == "#32770") {
            boxShownAt = Now();
            boxShown = true;
            PostMessageA(window, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Samples the process's working set every millisecond while a run lasts, and not once
// a summary box was shown (the box is no part of the run's work). One thread serves every
// run, so that its own memory is there before the first run starts.
class MemorySampler {
public:
    MemorySampler() { thread_ = CreateThread(nullptr, 0, Sample, this, 0, nullptr); }
    ~MemorySampler() {
        ending_ = true;
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
    MemorySampler(const MemorySampler&) = delete;
    MemorySampler& operator=(const MemorySampler&) = delete;

    // Starts a run; returns the working set at its start.
    SIZE_T Start() {
        const SIZE_T now = Current();
        peak_ = now;
        active_ = true;
        return now;
    }
    // The highest working set seen since Start.
    SIZE_T Stop() {
        active_ = false;
        Sleep(2);
        return peak_.load();
    }
    static SIZE_T Current() {
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof counters;
        GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
        return counters.WorkingSetSize;
    }

private:
    static DWORD WINAPI Sample(void* self) {
        auto* sampler = static_cast<MemorySampler*>(self);
        while (!sampler->ending_) {
            if (sampler->active_ && !boxShown) {
                const SIZE_T now = Current();
                if (now > sampler->peak_) {
                    sampler->peak_ = now;
                }
            }
            Sleep(1);
        }
        return 0;
    }
    std::atomic<bool> active_{false};
    std::atomic<bool> ending_{false};
    std::atomic<SIZE_T> peak_{0};
    HANDLE thread_ = nullptr;
};

// The search's floor: every entry of every folder below folder read once with the bare
// platform calls; returns the number of files whose names matches accepts.
inline int BareWalk(const std::string& folder, bool (*matches)(const std::string& name)) {
    int found = 0;
    WIN32_FIND_DATAA record;
    FindHandle find(FindFirstFileA((folder + "\\*").c_str(), &record));
    if (!find.IsValid()) {
        return 0;
    }
    do {
        const std::string name = record.cFileName;
        if (record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (name != "." && name != "..") {
                found += BareWalk(folder + "\\" + name, matches);
            }
        } else if (matches(name)) {
            ++found;
        }
    } while (FindNextFileA(find.Get(), &record));
    find.Close();
    return found;
}

}  // namespace bench
