#include "saveorder.h"

#include <algorithm>

namespace browser {

std::vector<int> saveOrder(int currentRow, std::vector<int> selectedRows, int rowCount)
{
    std::erase_if(selectedRows, [rowCount](int row) { return row < 0 || row >= rowCount; });
    std::sort(selectedRows.begin(), selectedRows.end());
    selectedRows.erase(std::unique(selectedRows.begin(), selectedRows.end()), selectedRows.end());
    if (currentRow < 0 || currentRow >= rowCount)
        currentRow = 0;

    const bool upwards = currentRow > 0 && std::binary_search(selectedRows.begin(), selectedRows.end(), currentRow - 1);
    // Rows from the current one on (below it) and the rows above it.
    const auto split = std::lower_bound(selectedRows.begin(), selectedRows.end(), currentRow);
    std::vector<int> below(split, selectedRows.end());
    std::vector<int> above(selectedRows.begin(), split);
    std::reverse(above.begin(), above.end()); // nearest first

    std::vector<int> order;
    order.reserve(selectedRows.size());
    if (upwards) {
        // The current row, when selected, comes first; then up, then the rows below it.
        if (!below.empty() && below.front() == currentRow) {
            order.push_back(currentRow);
            below.erase(below.begin());
        }
        order.insert(order.end(), above.begin(), above.end());
        order.insert(order.end(), below.begin(), below.end());
    } else {
        order.insert(order.end(), below.begin(), below.end());
        order.insert(order.end(), above.begin(), above.end());
    }
    return order;
}

} // namespace browser
