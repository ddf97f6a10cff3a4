#include "chm/LzxReference.h"
#include "chm/lzx/ParallelLzx.h"
#include "chm/platform/WorkPipeline.h"

#include <QTest>

#include <random>
#include <stdexcept>
#include <string>

using namespace folvane::chm;

using Bytes = std::vector<std::uint8_t>;
Q_DECLARE_METATYPE(Bytes)

namespace {

Bytes randomBytes(std::size_t n, std::uint32_t seed) {
    std::mt19937 random(seed);
    Bytes out(n);
    for (std::uint8_t& b : out)
        b = static_cast<std::uint8_t>(random());
    return out;
}

// Markup and words that repeat at every distance, as in a folder of help pages.
Bytes htmlLike(std::size_t n) {
    static const char* const kWords[] = {"the",    "window", "opens",  "file",    "help",  "<b>index</b>",
                                         "select", "option", "folder", "project", "topic", "表格"};
    std::mt19937 random(7);
    std::string text;
    int page = 0;
    while (text.size() < n) {
        text += "<html><head><title>Page " + std::to_string(page++) + "</title></head>\r\n<body><table>\r\n";
        for (int row = static_cast<int>(random() % 40); row > 0; --row) {
            text += "<tr><td class=\"c" + std::to_string(random() % 5) + "\">";
            for (int w = static_cast<int>(random() % 12); w > 0; --w)
                text += std::string(kWords[random() % std::size(kWords)]) + ' ';
            text += "</td><td><a href=\"p" + std::to_string(random() % 300) + ".htm\">more</a></td></tr>\r\n";
        }
        text += "</table></body></html>\r\n";
    }
    text.resize(n);
    return Bytes(text.begin(), text.end());
}

// One random block over and over: every position matches far back, and frame and span
// boundaries fall in the middle of the longest matches.
Bytes repeatedBlock(std::size_t n, std::size_t period) {
    const Bytes block = randomBytes(period, 3);
    Bytes out(n);
    for (std::size_t i = 0; i < n; ++i)
        out[i] = block[i % period];
    return out;
}

// Records of 16 bytes from a small pool: every match lies a multiple of 8 back, the case
// aligned-offset blocks are made for.
Bytes records(std::size_t n) {
    const Bytes pool = randomBytes(16 * 600, 9);
    std::mt19937 random(4);
    Bytes out;
    while (out.size() < n) {
        const auto at = pool.begin() + static_cast<std::ptrdiff_t>(16 * (random() % 600));
        out.insert(out.end(), at, at + 16);
    }
    out.resize(n);
    return out;
}

Bytes runs(std::size_t n) {
    Bytes out(n);
    for (std::size_t i = 0; i < n; ++i)
        out[i] = static_cast<std::uint8_t>(i / 70000 % 2 == 0 ? 'a' : i / 300 % 3);
    return out;
}

std::vector<CompressedSpan> compress(const Bytes& data, unsigned threads, std::size_t piece) {
    std::vector<CompressedSpan> spans;
    WorkPipeline work(threads);
    ParallelLzx lzx(work, [&spans](const CompressedSpan& span) { spans.push_back(span); });
    for (std::size_t at = 0; at < data.size(); at += piece)
        lzx.write(std::span(data).subspan(at, std::min(piece, data.size() - at)));
    lzx.finish();
    return spans;
}

// What readers give back: the data, zero-padded to its last frame.
Bytes padded(const Bytes& data) {
    Bytes out = data;
    out.resize((data.size() + kLzxFrameSize - 1) / kLzxFrameSize * kLzxFrameSize);
    return out;
}

} // namespace

class TestLzx : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void emptyStreamMakesNoSpans();
    void sinkExceptionReachesCaller();
    void destroyedWhileBusy();
};

void TestLzx::roundTrip_data() {
    QTest::addColumn<Bytes>("data");
    QTest::addColumn<int>("firstBlockType"); // 0: either
    QTest::newRow("one byte") << Bytes{'x'} << 0;
    QTest::newRow("one frame") << htmlLike(kLzxFrameSize) << 0;
    QTest::newRow("one span") << htmlLike(kLzxSpanSize) << 0;
    QTest::newRow("spans and a tail") << htmlLike(5 * kLzxSpanSize + 12345) << 0;
    QTest::newRow("tail within a frame") << htmlLike(kLzxSpanSize + 1) << 0;
    QTest::newRow("random") << randomBytes(2 * kLzxSpanSize + kLzxFrameSize, 1) << 0;
    QTest::newRow("runs") << runs(3 * kLzxSpanSize + 999) << 0;
    QTest::newRow("long repeats") << repeatedBlock(3 * kLzxSpanSize, 1000) << 0;
    QTest::newRow("repeats of a whole frame") << repeatedBlock(3 * kLzxSpanSize + 70, kLzxFrameSize - 3) << 0;
    QTest::newRow("aligned records") << records(2 * kLzxSpanSize + 100) << 2;
}

// Through the workers and back through both readers; the output is the same whatever the
// worker count, and every span and frame is where the container expects it.
void TestLzx::roundTrip() {
    QFETCH(Bytes, data);
    QFETCH(int, firstBlockType);
    const std::vector<CompressedSpan> spans = compress(data, 3, 10007);
    if (firstBlockType != 0) {
        // The first word: one bit for E8 translation, then the block type.
        QCOMPARE((spans.front().bytes[1] >> 4) & 7, firstBlockType);
    }

    QCOMPARE(spans.size(), (data.size() + kLzxSpanSize - 1) / kLzxSpanSize);
    QCOMPARE(LzxReference::frames(spans), (data.size() + kLzxFrameSize - 1) / kLzxFrameSize);
    for (const CompressedSpan& span : spans) {
        QCOMPARE(span.frameStarts.front(), 0u);
        for (std::size_t f = 0; f < span.frameStarts.size(); ++f) {
            const std::size_t end = f + 1 < span.frameStarts.size() ? span.frameStarts[f + 1] : span.bytes.size();
            QVERIFY(end % 2 == 0 && end > span.frameStarts[f]);
            QVERIFY2(end - span.frameStarts[f] <= kLzxFrameSize + 6144, "chmlib refuses longer frames");
        }
    }
    const std::vector<CompressedSpan> single = compress(data, 1, kLzxSpanSize);
    QCOMPARE(LzxReference::join(single), LzxReference::join(spans));

    if (!LzxReference::haveMspack() && !LzxReference::haveChmlib())
        QSKIP("neither libmspack nor chmlib is installed");
    if (LzxReference::haveMspack()) {
        const std::optional<Bytes> decoded = LzxReference::mspack(spans, data.size());
        QVERIFY2(decoded.has_value(), "libmspack cannot decode the stream");
        QVERIFY(*decoded == data);
    }
    if (LzxReference::haveChmlib()) {
        const std::optional<Bytes> decoded = LzxReference::chmlib(spans);
        QVERIFY2(decoded.has_value(), "chmlib cannot decode the stream");
        QVERIFY(*decoded == padded(data));
    }
}

void TestLzx::emptyStreamMakesNoSpans() {
    int spans = 0;
    WorkPipeline work(2);
    ParallelLzx lzx(work, [&spans](const CompressedSpan&) { ++spans; });
    lzx.write({});
    lzx.finish();
    QCOMPARE(spans, 0);
    QCOMPARE(lzx.bytesIn(), 0u);
}

void TestLzx::sinkExceptionReachesCaller() {
    const Bytes data = htmlLike(40 * kLzxSpanSize);
    int delivered = 0;
    WorkPipeline work(2);
    ParallelLzx lzx(work, [&delivered](const CompressedSpan&) {
        if (++delivered == 3)
            throw std::runtime_error("disk full");
    });
    bool thrown = false;
    try {
        lzx.write(data);
        lzx.finish();
    } catch (const std::runtime_error& e) {
        thrown = QByteArray(e.what()) == "disk full";
    }
    QVERIFY(thrown);
    QCOMPARE(delivered, 3);
}

// Spans still queued and being compressed when the owner gives up: no hang, no leak.
void TestLzx::destroyedWhileBusy() {
    const Bytes data = randomBytes(12 * kLzxSpanSize, 5);
    int delivered = 0;
    {
        WorkPipeline work(2);
        ParallelLzx lzx(work, [&delivered](const CompressedSpan&) { ++delivered; });
        lzx.write(data);
        QCOMPARE(lzx.bytesIn(), data.size());
    }
    QVERIFY(delivered < 12);
}

QTEST_APPLESS_MAIN(TestLzx)
#include "tst_lzx.moc"
