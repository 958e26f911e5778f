#pragma once
// The order a sorting list view keeps its rows in, and where a new row goes. The layer
// keeps that order itself instead of asking the platform control to sort: the control
// looks for the place of a new row one row at a time, which makes filling a long list
// quadratic, while a binary search over the rows needs about log2(rows) comparisons.
#include <string>

struct Control;

// The rows' order: the texts compared ignoring case in the user's locale, over whole
// characters (as UTF-16 with CompareStringW, LOCALE_USER_DEFAULT, NORM_IGNORECASE);
// negative, 0 or positive. Texts the platform cannot compare are ordered by their bytes,
// so that the order stays consistent.
int CompareRowTexts(const char* a, int aLength, const char* b, int bLength);
int CompareRowTexts(const std::string& a, const std::string& b);

// The index at which a row whose column 0 holds text belongs in a list view whose rows
// are in that order (direction 1 ascending, -1 descending): before the first row that
// does not come before it. Among texts the order finds equal, the comparison minding
// case decides, and a new row goes before rows with the very same text: where the
// platform control puts them. The rows' texts are read back from the control, so the
// search always sees the rows as they are.
int SortedRowIndex(Control* listView, const std::string& text, int direction);
