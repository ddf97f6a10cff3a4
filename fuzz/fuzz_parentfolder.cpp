// Walking up with ParentFolder always ends, and every step gets shorter.
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "util/Paths.h"

using namespace folvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const PathStyle style = input.flag() ? PathStyle::Windows : PathStyle::Posix;
    QString path = input.text();

    const qsizetype length = path.size();
    for (qsizetype steps = 0; !path.isEmpty(); ++steps) {
        FUZZ_CHECK(steps <= length);
        const QString parent = ParentFolder(path, style);
        if (parent == path)
            break; // a root is its own parent
        FUZZ_CHECK(parent.size() < path.size());
        if (style == PathStyle::Posix)
            FUZZ_CHECK(path.startsWith(parent));
        path = parent;
    }
    return 0;
}
