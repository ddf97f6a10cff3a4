#include "LzxBench.h"

#include "Timing.h"
#include "chm/lzx/ParallelLzx.h"
#include "chm/platform/WorkPipeline.h"

#include <QString>
#include <QTextStream>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace folvane {

namespace {
constexpr std::size_t kCorpusBytes = 50'000'000;
constexpr double kTargetPerCore = 30.0; // MB/s

// Words drawn by rank with Zipf-like weights from a made-up vocabulary, so that text has the
// skewed statistics of real prose without repeating itself; the most frequent words are the
// shortest.
class Vocabulary {
public:
    template <typename MakeWord> Vocabulary(std::mt19937& random, int size, MakeWord makeWord) : random_(random) {
        double total = 0;
        for (int rank = 0; rank < size; ++rank) {
            words_.push_back(makeWord(rank));
            total += 1.0 / (rank + 3);
            cumulative_.push_back(total);
        }
    }

    const std::string& wordAt(std::size_t rank) const { return words_[rank]; }

    const std::string& word() {
        const double u = std::uniform_real_distribution<double>(0, cumulative_.back())(random_);
        const auto at = std::lower_bound(cumulative_.begin(), cumulative_.end(), u) - cumulative_.begin();
        return words_[static_cast<std::size_t>(at)];
    }

private:
    std::mt19937& random_;
    std::vector<std::string> words_;
    std::vector<double> cumulative_;
};

template <std::size_t N> const char* pick(std::mt19937& random, const char* const (&list)[N]) {
    return list[random() % N];
}

std::string latinWord(std::mt19937& random, int rank) {
    static const char* const kOnsets[] = {"b", "c", "d", "f",  "g",  "h",  "l",  "m",  "n",  "p",  "r",  "s",
                                          "t", "v", "w", "st", "pr", "tr", "ch", "sh", "th", "gr", "pl", ""};
    static const char* const kNuclei[] = {"a", "e", "i", "o", "u", "ea", "ou", "io", "ai", "ee"};
    static const char* const kCodas[] = {"", "", "n", "r", "s", "t", "l", "nd", "st", "ng", "ck", "m"};
    std::string word;
    for (int syllables = rank < 150 ? 1 : rank < 1500 ? 2 : 3; syllables > 0; --syllables)
        word += std::string(pick(random, kOnsets)) + pick(random, kNuclei) + pick(random, kCodas);
    return word;
}

// One to three characters of the CJK block in UTF-8, common characters more often.
std::string chineseWord(std::mt19937& random, int rank) {
    std::string word;
    for (int n = rank < 300 ? 1 : rank < 2500 ? 2 : 3; n > 0; --n) {
        const auto c = 0x4E00 + static_cast<std::uint32_t>(std::min(random() % 3000, random() % 3000));
        word += static_cast<char>(0xE0 | (c >> 12));
        word += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        word += static_cast<char>(0x80 | (c & 0x3F));
    }
    return word;
}

class PageWriter {
public:
    explicit PageWriter(std::string& out)
        : out_(out), words_(random_, 6000, [this](int rank) { return latinWord(random_, rank); }),
          chineseWords_(random_, 4000, [this](int rank) { return chineseWord(random_, rank); }) {}

    void page(int n) {
        out_ += "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n<title>";
        sentence(3 + n % 5, false);
        out_ += "</title>\r\n<link rel=\"stylesheet\" href=\"../styles/help.css\">\r\n</head>\r\n<body>\r\n";
        out_ += "<div class=\"nav\"><a href=\"../index.htm\">Home</a> &gt; <a href=\"chapter" + num(n / 40) +
                ".htm\">Chapter " + num(n / 40) + "</a></div>\r\n<h1>";
        sentence(4, false);
        out_ += "</h1>\r\n";
        sidebar(n / 40);
        for (int block = 8 + static_cast<int>(random_() % 40); block > 0; --block)
            this->block(n);
        out_ += "</div>\r\n<hr>\r\n<p class=\"footer\">Page " + num(n) + " &copy; 2024</p>\r\n</body>\r\n</html>\r\n";
    }

private:
    template <typename Number> static std::string num(Number v) { return std::to_string(v); }

    // The chapter's table of contents, the same on each of its pages as generators make it.
    void sidebar(int chapter) {
        std::mt19937 titles(static_cast<std::uint32_t>(chapter));
        out_ += "<div class=\"sidebar\">\r\n<ul class=\"toc\">\r\n";
        for (int k = 0; k < 40; ++k) {
            out_ += "  <li class=\"toc-entry\"><a href=\"chapter" + num(chapter) + "/page" + num(k) + ".htm\">";
            for (int w = 2 + static_cast<int>(titles() % 4); w > 0; --w)
                out_ += words_.wordAt(static_cast<std::size_t>(titles() % 800)) + (w > 1 ? " " : "");
            out_ += "</a></li>\r\n";
        }
        out_ += "</ul>\r\n</div>\r\n<div class=\"content\">\r\n";
    }

    void sentence(int words, bool markup) {
        for (int i = 0; i < words; ++i) {
            if (i > 0)
                out_ += ' ';
            const int roll = static_cast<int>(random_() % 100);
            if (markup && roll < 3)
                out_ += "<a href=\"topic" + num(random_() % 3000) + ".htm\">" + words_.word() + "</a>";
            else if (markup && roll < 5)
                out_ += "<b>" + words_.word() + "</b>";
            else if (markup && roll < 7)
                out_ += "<code>" + words_.word() + "_" + words_.word() + "()</code>";
            else if (roll < 9)
                out_ += num(random_() % 2000);
            else
                out_ += words_.word();
        }
    }

    void chinese(int words) {
        for (int i = 0; i < words; ++i) {
            out_ += chineseWords_.word();
            if (random_() % 9 == 0)
                out_ += "\xef\xbc\x8c"; // full-width comma
        }
        out_ += "\xe3\x80\x82";
    }

    void block(int n) {
        const int kind = static_cast<int>(random_() % 20);
        if (kind < 10) {
            out_ += "<p>";
            for (int s = 1 + static_cast<int>(random_() % 5); s > 0; --s) {
                sentence(6 + static_cast<int>(random_() % 20), true);
                out_ += ". ";
            }
            out_ += "</p>\r\n";
        } else if (kind < 12) {
            out_ += "<p>";
            chinese(10 + static_cast<int>(random_() % 60));
            out_ += "</p>\r\n";
        } else if (kind < 14) {
            out_ += "<ul>\r\n";
            for (int i = 2 + static_cast<int>(random_() % 8); i > 0; --i) {
                out_ += "  <li>";
                sentence(3 + static_cast<int>(random_() % 10), true);
                out_ += "</li>\r\n";
            }
            out_ += "</ul>\r\n";
        } else if (kind < 16) {
            out_ += "<table class=\"params\">\r\n<tr><th>Name</th><th>Type</th><th>Description</th></tr>\r\n";
            for (int i = 1 + static_cast<int>(random_() % 8); i > 0; --i) {
                out_ += "<tr><td><code>" + words_.word() + "</code></td><td>" + (random_() % 2 ? "int" : "string") +
                        "</td><td>";
                sentence(4 + static_cast<int>(random_() % 12), false);
                out_ += "</td></tr>\r\n";
            }
            out_ += "</table>\r\n";
        } else if (kind < 18) {
            out_ += "<pre class=\"code\">\r\n";
            for (int i = 2 + static_cast<int>(random_() % 10); i > 0; --i) {
                out_ += std::string(4 * (random_() % 3), ' ') + "<span class=\"kw\">let</span> " + words_.word() + "_" +
                        words_.word() + " = <span class=\"fn\">" + words_.word() + "</span>(<span class=\"num\">" +
                        num(random_() % 100) + "</span>, <span class=\"str\">\"" + words_.word() + "\"</span>);\r\n";
            }
            out_ += "</pre>\r\n";
        } else {
            out_ += "<h2 id=\"s" + num(n) + "_" + num(random_() % 50) + "\">";
            sentence(2 + static_cast<int>(random_() % 5), false);
            out_ += "</h2>\r\n";
        }
    }

    std::string& out_;
    std::mt19937 random_{2024};
    Vocabulary words_;
    Vocabulary chineseWords_;
};

std::vector<std::uint8_t> helpPages(std::size_t bytes) {
    std::string text;
    text.reserve(bytes + 100'000);
    PageWriter writer(text);
    for (int n = 0; text.size() < bytes; ++n)
        writer.page(n);
    text.resize(bytes);
    return {text.begin(), text.end()};
}

struct Run {
    double ms = 0;
    std::uint64_t compressed = 0;
    std::size_t spans = 0;
};

Run compressAll(const std::vector<std::uint8_t>& data, unsigned threads) {
    Run run;
    std::uint64_t compressed = 0;
    std::size_t spans = 0;
    run.ms = bestOfThreeMs(
        [&] {
            compressed = 0;
            spans = 0;
        },
        [&] {
            chm::WorkPipeline work(threads);
            chm::ParallelLzx lzx(work, [&](const chm::CompressedSpan& span) {
                compressed += span.bytes.size();
                ++spans;
            });
            lzx.write(data);
            lzx.finish();
        });
    run.compressed = compressed;
    run.spans = spans;
    return run;
}
} // namespace

void benchLzx(QTextStream& out) {
    const std::vector<std::uint8_t> data = helpPages(kCorpusBytes);
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const Run all = compressAll(data, 0);
    const Run one = compressAll(data, 1);
    const double mb = static_cast<double>(data.size()) / 1e6;
    const auto speed = [mb](const Run& run) { return mb / (run.ms / 1000); };
    const std::size_t spans = (data.size() + chm::kLzxSpanSize - 1) / chm::kLzxSpanSize;

    out << "LZX compression of generated help pages: " << QString::number(mb, 'f', 1) << " MB to "
        << QString::number(static_cast<double>(one.compressed) / 1e6, 'f', 2) << " MB (ratio "
        << QString::number(100.0 * static_cast<double>(one.compressed) / static_cast<double>(data.size()), 'f', 2)
        << " %)\n";
    out << "  " << cores << " threads: " << QString::number(all.ms, 'f', 0) << " ms, "
        << QString::number(speed(all), 'f', 1) << " MB/s; 1 thread: " << QString::number(one.ms, 'f', 0) << " ms, "
        << QString::number(speed(one), 'f', 1) << " MB/s (target >= " << kTargetPerCore << " MB/s per core)";
    if (all.spans != spans || one.spans != spans || all.compressed != one.compressed)
        out << " FAILED: wrong result";
    else if (speed(one) < kTargetPerCore)
        out << " OVER TARGET";
    out << '\n';
}

} // namespace folvane
