// Relative paths: any input gives an answer, and for plain absolute Posix paths the base
// joined with the answer leads back to the path.
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "util/Paths.h"

#include <QDir>

using namespace folvane;

namespace {
// Absolute, with no empty, "." or ".." steps: a path the round trip can be checked on.
bool isPlainAbsolute(const QString& path) {
    if (!path.startsWith(u'/') || path.size() < 2)
        return false;
    const QStringList steps = path.mid(1).split(u'/');
    for (const QString& step : steps)
        if (step.isEmpty() || step == u'.' || step == QStringLiteral(".."))
            return false;
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const PathStyle style = input.flag() ? PathStyle::Windows : PathStyle::Posix;
    const bool baseIsFolder = input.flag();
    const QString separator = input.flag() ? QStringLiteral("\\") : QStringLiteral("/");
    const QString path = input.text();
    const QString base = input.text();

    const FolderTest isFolder = [baseIsFolder](const QString&) { return baseIsFolder; };
    const QString relative = RelativePath(path, base, separator, style, isFolder);
    if (style != PathStyle::Posix || !baseIsFolder || !isPlainAbsolute(path) || !isPlainAbsolute(base))
        return 0;
    FUZZ_CHECK(!relative.startsWith(u'/'));
    const QString joined = relative.isEmpty() ? base : base + u'/' + relative;
    FUZZ_CHECK(QDir::cleanPath(joined) == QDir::cleanPath(path));
    return 0;
}
