// File-name parts: every part is a piece of the path, and a file name never holds a separator.
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "util/Paths.h"

using namespace folvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const PathStyle style = input.flag() ? PathStyle::Windows : PathStyle::Posix;
    const int mode = input.number(5) - 1; // -1 .. 3: modes outside 0..2 act as 0
    const QString path = input.text();

    const QString part = PathPart(path, mode, style);
    const QString name = PathPart(path, 0, style);
    // Windows style answers with "\\" separators.
    QString native = path;
    if (style == PathStyle::Windows)
        native.replace(u'/', u'\\');
    FUZZ_CHECK(native.contains(part));
    FUZZ_CHECK(!name.contains(u'/') && !(style == PathStyle::Windows && name.contains(u'\\')));
    if (mode == 1)
        FUZZ_CHECK(name.startsWith(part));
    if (mode != 1 && mode != 2)
        FUZZ_CHECK(part == name);
    return 0;
}
