#pragma once

#include <QtGlobal>

#include <vector>

namespace folvane {

class LinkGraph;

// The reading order of a site: a tree of its pages, rooted at the home page, read depth-first.
//
// A page becomes a child of the first page that links to it, where pages claim their links
// nearest the home page first, each in document order. A link listed below another link
// of the same page (a table of contents) makes its page a child of that link's page. So a
// chapter belongs to the page that lists it, not to a page before it that mentions it.
// Links claim in rounds: links to whole pages, then links to places inside pages, then links
// in menus (<nav>, role="navigation") and bars (to pages that more than half of the pages
// link to), each page's first link to a target outside its menus standing for the rest.
// Pages that link to more than half of the pages (indexes, site maps; not the home page)
// claim after all others, but for bars. Siblings keep the order of the links that placed
// them; pages reached only through a menu follow.
class LinkWalk {
public:
    struct Entry {
        qint32 page;
        qint32 depth; // 0 for the home page
    };

    explicit LinkWalk(const LinkGraph& graph);

    // The pages reached, depth-first; pages no link reaches are not in it.
    const std::vector<Entry>& order() const { return order_; }
    bool reached(qint32 page) const { return placed_[static_cast<size_t>(page)].seq >= 0; }

private:
    enum class Pass { WholePages, Places, Bars };
    struct Placed {
        qint32 seq = -1; // when it was placed
        qint32 parent = -1;
        qint32 depth = 0;
        qint32 sourceSeq = 0; // the page whose link placed it, and where on that page
        qint32 position = 0;
    };

    void countLinks();
    // One breadth-first round over the pages placed so far; true when it placed a page.
    bool claim(Pass pass);
    bool allows(Pass pass, qint32 page, qint32 linkIndex) const;
    void place(qint32 page, qint32 parent, qint32 source, qint32 position);
    void readDepthFirst();

    const LinkGraph& graph_;
    std::vector<Placed> placed_;
    std::vector<bool> bar_;     // linked from more than half of the pages
    std::vector<bool> hub_;     // links to more than half of the pages
    std::vector<bool> settled_; // every page it links to is placed
    qint32 placedCount_ = 0;
    std::vector<Entry> order_;
};

} // namespace folvane
