#include "search/FindHandle.h"

#include <utility>

FindHandle::~FindHandle()
{
    Close();
}

FindHandle::FindHandle(FindHandle&& other) noexcept : handle_(other.handle_)
{
    other.handle_ = INVALID_HANDLE_VALUE;
}

FindHandle& FindHandle::operator=(FindHandle&& other) noexcept
{
    if (this != &other) {
        Close();
        handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
    }
    return *this;
}

FindHandle FindHandle::First(const char* pattern, WIN32_FIND_DATAA& record)
{
    return FindHandle(FindFirstFileA(pattern, &record));
}

bool FindHandle::Next(WIN32_FIND_DATAA& record) const
{
    return IsValid() && FindNextFileA(handle_, &record) != FALSE;
}

void FindHandle::Close()
{
    if (IsValid()) {
        FindClose(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
}
