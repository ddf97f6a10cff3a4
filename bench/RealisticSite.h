#pragma once

#include <QString>
#include <QtGlobal>

namespace folvane {

// A generated help site that looks like a real one: 3000 pages of varied English and
// Chinese text and markup (see HelpPageWriter) linking to each other, in folders up to four
// deep, with pictures of random bytes, a style sheet and a script. The same on every run.
struct RealisticSite {
    static constexpr int kPages = 3000;
    static constexpr int kPictures = 300;

    struct Made {
        int pages = 0;
        int pictures = 0;
        int folders = 0;
        qint64 bytes = 0;
    };

    static Made make(const QString& root);
};

} // namespace folvane
