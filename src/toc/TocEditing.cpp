#include "toc/TocEditing.h"

#include "toc/ListBox.h"

namespace folvane {

void movePass(ListBox& toc, int index) {
    ListBox::Batch update(toc);
    const int n = toc.count();
    for (int i = 0; i < n; ++i) {
        // Moving down walks from the last entry so a block keeps its order.
        const int k = index == 3 ? n - 1 - i : i;
        if (!toc.selected(k))
            continue;
        switch (index) {
        case 0:
            toc.setText(i, QLatin1Char(' ') + toc.text(i));
            break;
        case 1:
            if (toc.text(i).startsWith(QLatin1Char(' ')))
                toc.setText(i, toc.text(i).mid(1));
            break;
        case 2:
            if (i >= 1)
                toc.swapEntries(i, i - 1);
            break;
        case 3:
            if (i >= 1)
                toc.swapEntries(k, k + 1);
            break;
        default:
            break;
        }
    }
}

} // namespace folvane
