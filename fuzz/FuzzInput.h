#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

namespace folvane::fuzz {

// Turns a fuzzer's bytes into texts and small numbers. An even first byte reads the rest as
// UTF-8 (seeds stay readable), an odd one as UTF-16 code units, which reaches NULs and
// lone surrogates. Fields are separated by U+0001.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size);

    bool atEnd() const { return pos_ > text_.size(); }
    // The next field; empty once the input is used up.
    QString text();
    // The first code unit of the next field, reduced to 0 .. limit - 1.
    int number(int limit);
    bool flag() { return number(2) == 1; }

private:
    QString text_;
    qsizetype pos_ = 0;
};

} // namespace folvane::fuzz
