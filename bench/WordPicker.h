#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace folvane {

// A made-up vocabulary whose words come out with the skewed, Zipf-like frequencies of real
// prose: the word of rank r is drawn about 1/(r + 2) as often as the most common one.
class WordPicker {
public:
    // Common English words first, then invented ones of two or three syllables.
    static WordPicker english(std::mt19937& random, int size);
    // Words of one to three Chinese characters, common characters more often.
    static WordPicker chinese(std::mt19937& random, int size);

    const std::string& pick(std::mt19937& random) const;
    const std::string& at(std::size_t rank) const { return words_[rank % words_.size()]; }

private:
    void add(std::string word);

    std::vector<std::string> words_;
    std::vector<std::uint64_t> cumulative_;
};

} // namespace folvane
