// Titles from page text: any text, path and markers give either the file name or a
// non-empty text trimmed of spaces.
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "navbuilder/TitleBetween.h"
#include "util/Paths.h"

using namespace folvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const PathStyle style = input.flag() ? PathStyle::Windows : PathStyle::Posix;
    const QString path = input.text();
    const QString start = input.text();
    const QString end = input.text();
    const QString text = input.text();

    const QString title = TitleBetween(text, path, start, end, style);
    if (title == PathPart(path, 0, style))
        return 0;
    FUZZ_CHECK(!title.isEmpty());
    FUZZ_CHECK(!title.startsWith(u' ') && !title.endsWith(u' '));
    FUZZ_CHECK(!text.contains(QChar(u'\0')));
    FUZZ_CHECK(text.contains(start, Qt::CaseInsensitive));
    return 0;
}
