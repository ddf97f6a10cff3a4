#include "navbuilder/LinkWalk.h"

#include "navbuilder/LinkGraph.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <tuple>

namespace folvane {

LinkWalk::LinkWalk(const LinkGraph& graph) : graph_(graph) {
    const auto pages = static_cast<size_t>(graph.pageCount());
    placed_.resize(pages);
    settled_.resize(pages);
    if (graph.home() < 0)
        return;
    countLinks();
    placed_[static_cast<size_t>(graph.home())].seq = placedCount_++;
    // Bars are followed only where nothing else reaches, and what they reach is read like the rest.
    do {
        claim(Pass::WholePages);
        claim(Pass::Places);
    } while (claim(Pass::Bars));
    readDepthFirst();
}

void LinkWalk::countLinks() {
    const qint32 pages = graph_.pageCount();
    std::vector<qint32> linkers(static_cast<size_t>(pages), 0);
    std::vector<qint32> seenOn(static_cast<size_t>(pages), -1);
    hub_.assign(static_cast<size_t>(pages), false);
    for (qint32 page = 0; page < pages; ++page) {
        qint32 targets = 0;
        for (const LinkGraph::Link& link : graph_.links(page)) {
            auto& seen = seenOn[static_cast<size_t>(link.target)];
            if (seen == page)
                continue;
            seen = page;
            targets += link.menu ? 0 : 1; // a menu of the whole site does not make every page an index
            ++linkers[static_cast<size_t>(link.target)];
        }
        hub_[static_cast<size_t>(page)] = page != graph_.home() && qint64(targets) * 2 > pages;
    }
    bar_.resize(static_cast<size_t>(pages));
    for (qint32 page = 0; page < pages; ++page)
        bar_[static_cast<size_t>(page)] = qint64(linkers[static_cast<size_t>(page)]) * 2 > pages;
}

bool LinkWalk::allows(Pass pass, qint32 page, qint32 linkIndex) const {
    const LinkGraph::Link& link = graph_.links(page)[static_cast<size_t>(linkIndex)];
    const bool bar = bar_[static_cast<size_t>(link.target)] || link.menu;
    switch (pass) {
    case Pass::WholePages:
        return !bar && !link.fragment;
    case Pass::Places:
        return !bar;
    case Pass::Bars:
        return link.representative;
    }
    return false;
}

void LinkWalk::place(qint32 page, qint32 parent, qint32 source, qint32 position) {
    Placed& p = placed_[static_cast<size_t>(page)];
    p.seq = placedCount_++;
    p.parent = parent;
    p.depth = placed_[static_cast<size_t>(parent)].depth + 1;
    p.sourceSeq = placed_[static_cast<size_t>(source)].seq;
    p.position = position;
}

bool LinkWalk::claim(Pass pass) {
    // Index pages last, then nearest the home page first, then in the order placed. Bars go to
    // the nearest page, be it an index: a table of contents also links to every page.
    using Key = std::tuple<bool, qint32, qint32, qint32>;
    std::priority_queue<Key, std::vector<Key>, std::greater<>> queue;
    const auto keyOf = [this, pass](qint32 page) {
        const Placed& p = placed_[static_cast<size_t>(page)];
        return Key{pass != Pass::Bars && hub_[static_cast<size_t>(page)], p.depth, p.seq, page};
    };
    for (qint32 page = 0; page < graph_.pageCount(); ++page)
        if (reached(page) && !settled_[static_cast<size_t>(page)])
            queue.push(keyOf(page));
    bool placedAny = false;
    while (!queue.empty()) {
        const qint32 page = std::get<3>(queue.top());
        queue.pop();
        const std::vector<LinkGraph::Link>& links = graph_.links(page);
        bool waiting = false; // links left for a later round
        for (qint32 i = 0; i < static_cast<qint32>(links.size()); ++i) {
            const qint32 target = links[static_cast<size_t>(i)].target;
            if (reached(target))
                continue;
            if (!allows(pass, page, i)) {
                waiting = true;
                continue;
            }
            // Listed below another link: a child of that link's page.
            qint32 parent = page;
            for (qint32 above = links[static_cast<size_t>(i)].parent; above >= 0;
                 above = links[static_cast<size_t>(above)].parent) {
                const qint32 abovePage = links[static_cast<size_t>(above)].target;
                if (reached(abovePage)) {
                    parent = abovePage;
                    break;
                }
            }
            // Pages reached only through a menu follow the page's own.
            const qint32 position = links[static_cast<size_t>(i)].menu ? static_cast<qint32>(links.size()) + i : i;
            place(target, parent, page, position);
            queue.push(keyOf(target));
            placedAny = true;
        }
        settled_[static_cast<size_t>(page)] = !waiting;
    }
    return placedAny;
}

void LinkWalk::readDepthFirst() {
    std::vector<std::vector<qint32>> children(placed_.size());
    for (qint32 page = 0; page < graph_.pageCount(); ++page)
        if (reached(page) && page != graph_.home())
            children[static_cast<size_t>(placed_[static_cast<size_t>(page)].parent)].push_back(page);
    const auto before = [this](qint32 a, qint32 b) {
        const Placed& pa = placed_[static_cast<size_t>(a)];
        const Placed& pb = placed_[static_cast<size_t>(b)];
        return std::tie(pa.sourceSeq, pa.position) < std::tie(pb.sourceSeq, pb.position);
    };
    std::vector<qint32> stack{graph_.home()};
    order_.reserve(static_cast<size_t>(placedCount_));
    while (!stack.empty()) {
        const qint32 page = stack.back();
        stack.pop_back();
        order_.push_back(Entry{page, placed_[static_cast<size_t>(page)].depth});
        std::vector<qint32>& below = children[static_cast<size_t>(page)];
        std::sort(below.begin(), below.end(), before);
        stack.insert(stack.end(), below.rbegin(), below.rend());
    }
}

} // namespace folvane
