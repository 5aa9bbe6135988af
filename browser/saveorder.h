#pragma once
// Which list rows a save copies, and in which order.
//
// The walk starts at the current row and goes up the list when the row just above it
// is selected, down otherwise. For one unbroken block with the current row at an end
// (what shift+click or shift+arrow gives) that visits exactly the block, from the
// current row outwards:
//   block 5..7, current 7  ->  7, 6, 5
//   block 5..7, current 5  ->  5, 6, 7
// Any other selection (ctrl+click) saves exactly the selected rows: first those from
// the current row in the walk's direction, then those on the other side, nearest first:
//   {2, 3, 7, 8}, current 7  ->  7, 8, 3, 2
//   {5, 6}, current 7        ->  6, 5   (the current row itself is not selected)
// Rows outside the list are never returned; without a current row the walk starts at
// the first row.
#include <vector>

namespace browser {

std::vector<int> saveOrder(int currentRow, std::vector<int> selectedRows, int rowCount);

} // namespace browser
