#pragma once

#include <QString>

namespace folvane {

// A site of a few huge pages of words that hardly ever come twice, the worst a search index
// meets: 200 MB in 8 pages of random lower-case words of 3 to 10 letters.
struct EntropySite {
    static constexpr int kPages = 8;
    static constexpr qint64 kPageBytes = 25 * 1000 * 1000;

    // Writes the pages below root.
    static void make(const QString& root);
};

} // namespace folvane
