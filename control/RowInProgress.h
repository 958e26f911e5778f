#pragma once
// Shows which row of a list view a long piece of work is on: the row becomes the only
// selected row and the focused one, and it is kept in view.
struct Control;

// Makes row the only row of the list view with a state flag (it becomes focused and
// selected; no row stays cut or drop-highlighted): the effect of SelectOnlyRow, but
// only the rows that carry a flag are changed, since clearing every row costs the list
// a notification per row. When the row lies outside the visible rows the list scrolls
// so that the row comes first, which keeps the next rows in view without scrolling
// again: scrolling repaints the list, and some platforms scroll a newly focused row
// into view row by row. A negative row only clears the flags.
void MarkRowInProgress(Control* listView, int row);
