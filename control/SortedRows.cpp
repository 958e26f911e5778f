#include "control/SortedRows.h"

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <string>

#include "control/Control.h"
#include "control/ListView.h"

namespace {

// Longest text read straight into the buffer on the stack; longer ones are read whole
// by GetCell.
const int ReadBufferSize = 1024;

// Points name at the column 0 text of row and returns its length: read into buffer, or
// for a longer text into longText. The platform control is asked directly: no procedure
// of the layer handles this read, and a binary search asks about twenty times per new row.
int RowName(Control* listView, int row, char (&buffer)[ReadBufferSize], std::string& longText,
            const char*& name) {
    LVITEMA item = {};
    item.iSubItem = 0;
    item.pszText = buffer;
    item.cchTextMax = ReadBufferSize;
    buffer[0] = '\0';
    MessageRecord request{listView->Handle, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                          reinterpret_cast<LPARAM>(&item)};
    const int length = static_cast<int>(listView->DefaultProcessing(request));
    if (length < ReadBufferSize - 1) {
        name = buffer;
        return length < 0 ? 0 : length;
    }
    longText = GetCell(listView, row, 0);
    name = longText.c_str();
    return static_cast<int>(longText.size());
}

int CompareBytes(const char* a, int aLength, const char* b, int bLength) {
    const int bytes = std::memcmp(a, b, static_cast<size_t>(aLength < bLength ? aLength : bLength));
    if (bytes != 0)
        return bytes;
    return aLength < bLength ? -1 : (aLength > bLength ? 1 : 0);
}

// The text as UTF-16 (from the program's code page, UTF-8 under its manifest): in buffer
// when it fits, else in longText. Returns its length in code units.
template <size_t N>
int Widen(const char* text, int length, wchar_t (&buffer)[N], std::wstring& longText,
          const wchar_t*& wide) {
    if (length == 0) {
        wide = buffer;
        return 0;
    }
    int count = MultiByteToWideChar(CP_ACP, 0, text, length, buffer, static_cast<int>(N));
    if (count > 0) {
        wide = buffer;
        return count;
    }
    count = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    longText.assign(static_cast<size_t>(count > 0 ? count : 0), L'\0');
    if (count > 0)
        MultiByteToWideChar(CP_ACP, 0, text, length, &longText[0], count);
    wide = longText.c_str();
    return count > 0 ? count : 0;
}

// The user's locale's collation over whole characters: CompareStringA would read the
// bytes in the locale's own code page, which is not the program's under UTF-8.
int CompareInLocale(DWORD flags, const char* a, int aLength, const char* b, int bLength) {
    wchar_t aBuffer[256];
    wchar_t bBuffer[256];
    std::wstring aLong;
    std::wstring bLong;
    const wchar_t* aWide = nullptr;
    const wchar_t* bWide = nullptr;
    const int aCount = Widen(a, aLength, aBuffer, aLong, aWide);
    const int bCount = Widen(b, bLength, bBuffer, bLong, bWide);
    const int result = CompareStringW(LOCALE_USER_DEFAULT, flags, aWide, aCount, bWide, bCount);
    return result != 0 ? result - CSTR_EQUAL : CompareBytes(a, aLength, b, bLength);
}

// Where a row goes: by the rows' order, and among texts that order finds equal the way
// the platform control places them, by the same comparison minding case.
int CompareForPlacement(const char* a, int aLength, const char* b, int bLength) {
    const int order = CompareInLocale(NORM_IGNORECASE, a, aLength, b, bLength);
    return order != 0 ? order : CompareInLocale(0, a, aLength, b, bLength);
}

}  // namespace

int CompareRowTexts(const char* a, int aLength, const char* b, int bLength) {
    return CompareInLocale(NORM_IGNORECASE, a, aLength, b, bLength);
}

int CompareRowTexts(const std::string& a, const std::string& b) {
    return CompareRowTexts(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                           static_cast<int>(b.size()));
}

int SortedRowIndex(Control* listView, const std::string& text, int direction) {
    int low = 0;
    int high = RowCount(listView);
    if (high == 0 || listView->Handle == nullptr)
        return high;
    char buffer[ReadBufferSize];
    std::string longText;
    const int textLength = static_cast<int>(text.size());
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const char* name = nullptr;
        const int nameLength = RowName(listView, middle, buffer, longText, name);
        const int order = CompareForPlacement(name, nameLength, text.c_str(), textLength);
        if ((direction < 0 ? -order : order) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}
