#pragma once

// Independent LZX readers for round trips: libmspack's stream decoder (exported by its
// static library only) and chmlib's frame-at-a-time decoder. Neither library installs a
// header for these functions.

#include "chm/lzx/LzxEncoder.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

#ifdef FOLVANE_HAVE_LZXD
#include <mspack.h>

extern "C" {
struct lzxd_stream;
lzxd_stream* lzxd_init(mspack_system* system, mspack_file* input, mspack_file* output, int window_bits,
                       int reset_interval, int input_buffer_size, off_t output_length, char is_delta);
int lzxd_decompress(lzxd_stream* lzx, off_t out_bytes);
void lzxd_free(lzxd_stream* lzx);
}
#endif

#ifdef FOLVANE_HAVE_CHMLIB
extern "C" {
struct LZXstate;
LZXstate* LZXinit(int window);
void LZXteardown(LZXstate* state);
int LZXreset(LZXstate* state);
int LZXdecompress(LZXstate* state, unsigned char* inpos, unsigned char* outpos, int inlen, int outlen);
}
#endif

namespace folvane::chm {

class LzxReference {
public:
    static constexpr bool haveMspack() {
#ifdef FOLVANE_HAVE_LZXD
        return true;
#else
        return false;
#endif
    }
    static constexpr bool haveChmlib() {
#ifdef FOLVANE_HAVE_CHMLIB
        return true;
#else
        return false;
#endif
    }

    // The spans one after another, as they go into the file.
    static std::vector<std::uint8_t> join(const std::vector<CompressedSpan>& spans) {
        std::vector<std::uint8_t> stream;
        for (const CompressedSpan& span : spans)
            stream.insert(stream.end(), span.bytes.begin(), span.bytes.end());
        return stream;
    }

    static std::size_t frames(const std::vector<CompressedSpan>& spans) {
        std::size_t n = 0;
        for (const CompressedSpan& span : spans)
            n += span.frameStarts.size();
        return n;
    }

    // The first dataLength bytes through one libmspack decoder as it reads a help file:
    // told the length rounded up to a whole span, and given nothing past the stream.
    static std::optional<std::vector<std::uint8_t>> mspack(const std::vector<CompressedSpan>& spans,
                                                           std::size_t dataLength) {
#ifdef FOLVANE_HAVE_LZXD
        const std::vector<std::uint8_t> stream = join(spans);
        const auto wanted = static_cast<off_t>(dataLength);
        const auto length = static_cast<off_t>((dataLength + kLzxSpanSize - 1) / kLzxSpanSize * kLzxSpanSize);
        MemoryFile input{stream.data(), stream.size(), 0, nullptr};
        std::vector<std::uint8_t> output;
        MemoryFile sink{nullptr, 0, 0, &output};
        mspack_system system = memorySystem();
        lzxd_stream* lzx = lzxd_init(&system, asFile(&input), asFile(&sink), kLzxWindowBits,
                                     static_cast<int>(kLzxSpanSize / kLzxFrameSize), 4096, length, 0);
        if (lzx == nullptr)
            return std::nullopt;
        const int result = lzxd_decompress(lzx, wanted);
        lzxd_free(lzx);
        if (result != MSPACK_ERR_OK)
            return std::nullopt;
        return output;
#else
        (void)spans;
        (void)dataLength;
        return std::nullopt;
#endif
    }

    // Frame by frame as chmlib reads a help file: each frame from its own start offset
    // with a fresh bit buffer, the decoder reset at every span.
    static std::optional<std::vector<std::uint8_t>> chmlib(const std::vector<CompressedSpan>& spans) {
#ifdef FOLVANE_HAVE_CHMLIB
        LZXstate* state = LZXinit(kLzxWindowBits);
        std::vector<std::uint8_t> output;
        bool ok = state != nullptr;
        for (const CompressedSpan& span : spans) {
            if (!ok)
                break;
            LZXreset(state);
            for (std::size_t f = 0; f < span.frameStarts.size() && ok; ++f) {
                const std::size_t end = f + 1 < span.frameStarts.size() ? span.frameStarts[f + 1] : span.bytes.size();
                // chmlib reads its input buffer a few bytes past the frame's end.
                std::vector<std::uint8_t> input(span.bytes.begin() + span.frameStarts[f], span.bytes.begin() + end);
                const int inputLength = static_cast<int>(input.size());
                input.resize(input.size() + 64);
                std::vector<std::uint8_t> frame(kLzxFrameSize);
                ok =
                    LZXdecompress(state, input.data(), frame.data(), inputLength, static_cast<int>(kLzxFrameSize)) == 0;
                output.insert(output.end(), frame.begin(), frame.end());
            }
        }
        if (state != nullptr)
            LZXteardown(state);
        if (!ok)
            return std::nullopt;
        return output;
#else
        (void)spans;
        return std::nullopt;
#endif
    }

private:
#ifdef FOLVANE_HAVE_LZXD
    struct MemoryFile {
        const std::uint8_t* data;
        std::size_t size;
        std::size_t position;
        std::vector<std::uint8_t>* output;
    };

    static mspack_file* asFile(MemoryFile* file) {
        return reinterpret_cast<mspack_file*>(file);
    }
    static MemoryFile* asMemory(mspack_file* file) {
        return reinterpret_cast<MemoryFile*>(file);
    }

    static mspack_system memorySystem() {
        mspack_system system{};
        system.read = [](mspack_file* file, void* buffer, int bytes) {
            MemoryFile* f = asMemory(file);
            const std::size_t n = std::min(static_cast<std::size_t>(bytes), f->size - f->position);
            std::memcpy(buffer, f->data + f->position, n);
            f->position += n;
            return static_cast<int>(n);
        };
        system.write = [](mspack_file* file, void* buffer, int bytes) {
            const auto* p = static_cast<const std::uint8_t*>(buffer);
            asMemory(file)->output->insert(asMemory(file)->output->end(), p, p + bytes);
            return bytes;
        };
        system.message = &message;
        system.alloc = [](mspack_system*, std::size_t bytes) { return std::malloc(bytes); };
        system.free = [](void* p) { std::free(p); };
        system.copy = [](void* src, void* dest, std::size_t bytes) { std::memmove(dest, src, bytes); };
        return system;
    }

    // The decoder's only message is a block that runs over a reset: a broken stream.
    static void message(mspack_file*, const char* format, ...) {
        std::fprintf(stderr, "libmspack: %s\n", format);
        std::abort();
    }
#endif
};

} // namespace folvane::chm
