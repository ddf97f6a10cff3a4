#include "chm/search/WordRuns.h"

#include "chm/search/CountCode.h"
#include "chm/search/IndexOrder.h"
#include "chm/search/ScaleRootReader.h"
#include "chm/search/ScaleRootWriter.h"

#include <algorithm>
#include <queue>
#include <string>

namespace folvane::chm {

namespace {

// Runs are written and read in pieces of this size.
constexpr std::size_t kBufferBytes = 1u << 20;
// A merge reads each run through its own buffer; many runs share this much.
constexpr std::size_t kMergeBufferBytes = 16u << 20;
constexpr std::size_t kSmallestRunBuffer = 16u << 10;

void putText(std::vector<std::uint8_t>& out, std::string_view text) {
    out.push_back(static_cast<std::uint8_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

// One word of a run, owned.
struct Record : IndexWord {
    std::string stored;

    IndexOrder::Key key() const { return {stored, title, text}; }
};

// Reads one run's records in order.
class RunCursor {
public:
    RunCursor(const ScratchFile& file, std::uint64_t begin, std::uint64_t end, std::size_t bufferBytes)
        : file_(file), begin_(begin), end_(end), buffer_(bufferBytes) {}

    void rewind() {
        position_ = begin_;
        at_ = filled_ = 0;
        advance();
    }
    bool atEnd() const { return done_; }
    const Record& record() const { return record_; }

    // The next record, or the end.
    void advance() {
        done_ = position_ + at_ >= end_;
        if (done_)
            return;
        text(record_.stored);
        const std::uint8_t flags = byte();
        record_.title = (flags & 1) != 0;
        if ((flags & 2) != 0)
            text(record_.text);
        else
            record_.text = record_.stored;
        record_.documents = static_cast<std::uint32_t>(count());
        record_.firstDocument = static_cast<std::uint32_t>(count());
        record_.lastDocument = static_cast<std::uint32_t>(count());
        record_.occurrences = count();
        record_.locations.resize(static_cast<std::size_t>(count()));
        bytes(record_.locations.data(), record_.locations.size());
    }

private:
    void refill() {
        position_ += filled_;
        at_ = 0;
        filled_ = static_cast<std::size_t>(std::min<std::uint64_t>(buffer_.size(), end_ - position_));
        file_.readAt(position_, std::span<std::uint8_t>(buffer_.data(), filled_));
    }
    std::uint8_t byte() {
        if (at_ >= filled_)
            refill();
        return buffer_[at_++];
    }
    std::uint64_t count() {
        std::uint64_t value = 0;
        for (unsigned shift = 0; shift < 64; shift += 7) {
            const std::uint8_t b = byte();
            value |= static_cast<std::uint64_t>(b & 0x7F) << shift;
            if ((b & 0x80) == 0)
                break;
        }
        return value;
    }
    void bytes(std::uint8_t* out, std::size_t n) {
        while (n > 0) {
            if (at_ >= filled_)
                refill();
            const std::size_t take = std::min(n, filled_ - at_);
            std::copy_n(buffer_.data() + at_, take, out);
            at_ += take;
            out += take;
            n -= take;
        }
    }
    void text(std::string& out) {
        out.resize(byte());
        bytes(reinterpret_cast<std::uint8_t*>(out.data()), out.size());
    }

    const ScratchFile& file_;
    std::uint64_t begin_;
    std::uint64_t end_;
    std::vector<std::uint8_t> buffer_;
    std::uint64_t position_ = 0; // file offset of buffer_[0]
    std::size_t at_ = 0;
    std::size_t filled_ = 0;
    bool done_ = true;
    Record record_;
};

// The runs merged: the smallest word first, a word found in several runs joined in run order.
class MergedRuns : public SortedWords {
public:
    MergedRuns(const ScratchFile& file, const std::vector<std::pair<std::uint64_t, std::uint64_t>>& runs,
               LocationRoots roots)
        : roots_(roots) {
        const std::size_t each =
            std::max(kSmallestRunBuffer, kMergeBufferBytes / std::max<std::size_t>(1, runs.size()));
        for (const auto& [begin, end] : runs)
            cursors_.emplace_back(file, begin, end, std::min<std::size_t>(each, kBufferBytes));
        rewind();
    }

    void rewind() override {
        heap_ = decltype(heap_)(Later{this});
        for (std::size_t i = 0; i < cursors_.size(); ++i) {
            cursors_[i].rewind();
            if (!cursors_[i].atEnd())
                heap_.push(i);
        }
    }

    bool next(SortedWord& word) override {
        if (heap_.empty())
            return false;
        out_ = (out_ + 1) % 2;
        Record& joined = words_[out_];
        const std::size_t first = take();
        joined = cursors_[first].record();
        advance(first);
        while (!heap_.empty() && sameWord(cursors_[heap_.top()].record(), joined)) {
            const std::size_t more = take();
            join(joined, cursors_[more].record());
            advance(more);
        }
        word = joined.sorted(joined.stored);
        return true;
    }

private:
    struct Later {
        const MergedRuns* runs;
        // The heap's top is the smallest word; the same word comes from the earlier run first.
        bool operator()(std::size_t a, std::size_t b) const {
            const Record& x = runs->cursors_[a].record();
            const Record& y = runs->cursors_[b].record();
            if (IndexOrder::before(x.key(), y.key()))
                return false;
            if (IndexOrder::before(y.key(), x.key()))
                return true;
            return a > b;
        }
    };

    static bool sameWord(const Record& a, const Record& b) {
        return a.title == b.title && a.text == b.text && a.stored == b.stored;
    }

    std::size_t take() {
        const std::size_t top = heap_.top();
        heap_.pop();
        return top;
    }

    void advance(std::size_t run) {
        cursors_[run].advance();
        if (!cursors_[run].atEnd())
            heap_.push(run);
    }

    // A later run's list goes on where the earlier ended: its first page, a step from page 0
    // in the run, becomes a step from the last page before, and the rest follows byte for
    // byte, since every page's part of a list ends on a byte.
    void join(Record& joined, const Record& later) const {
        ScaleRootReader in(later.locations);
        const std::uint32_t first = in.get(roots_.document);
        const std::uint32_t positions = in.get(roots_.count);
        {
            ScaleRootWriter out(joined.locations);
            out.put(first - joined.lastDocument, roots_.document);
            out.put(positions, roots_.count);
            for (std::uint32_t i = 0; i < positions; ++i)
                out.put(in.get(roots_.location), roots_.location);
        }
        const std::size_t rest = std::min(in.bytesUsed(), later.locations.size());
        joined.locations.insert(joined.locations.end(), later.locations.begin() + static_cast<std::ptrdiff_t>(rest),
                                later.locations.end());
        joined.documents += later.documents;
        joined.lastDocument = later.lastDocument;
        joined.occurrences += later.occurrences;
    }

    LocationRoots roots_;
    std::vector<RunCursor> cursors_;
    std::priority_queue<std::size_t, std::vector<std::size_t>, Later> heap_{Later{this}};
    // The word handed out and the one before it.
    Record words_[2];
    int out_ = 0;
};

} // namespace

WordRuns::WordRuns(const std::filesystem::path& folder, LocationRoots roots) : file_(folder), roots_(roots) {}

WordRuns::~WordRuns() = default;

void WordRuns::append(const SortedWord& word, std::vector<std::uint8_t>& buffer) {
    putText(buffer, word.stored);
    const bool ownText = word.text != word.stored;
    buffer.push_back(static_cast<std::uint8_t>((word.title ? 1 : 0) | (ownText ? 2 : 0)));
    if (ownText)
        putText(buffer, word.text);
    putCount(buffer, word.documents);
    putCount(buffer, word.firstDocument);
    putCount(buffer, word.lastDocument);
    putCount(buffer, word.occurrences);
    putCount(buffer, word.locations.size());
    buffer.insert(buffer.end(), word.locations.begin(), word.locations.end());
    if (buffer.size() >= kBufferBytes)
        flush(buffer);
}

void WordRuns::flush(std::vector<std::uint8_t>& buffer) {
    file_.writeAt(size_, buffer);
    size_ += buffer.size();
    buffer.clear();
}

void WordRuns::add(SortedWords& words) {
    const std::uint64_t begin = size_;
    std::vector<std::uint8_t> buffer;
    buffer.reserve(kBufferBytes);
    words.rewind();
    for (SortedWord word; words.next(word);)
        append(word, buffer);
    flush(buffer);
    runs_.emplace_back(begin, size_);
}

std::unique_ptr<SortedWords> WordRuns::merged() const {
    return std::make_unique<MergedRuns>(file_, runs_, roots_);
}

} // namespace folvane::chm
