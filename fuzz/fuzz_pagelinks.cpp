// Page links: any text gives at most one link per tag, trimmed addresses that are text of the
// page or decoded copies of it, and list items that stand below earlier items only.
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "navbuilder/PageLinks.h"

using namespace folvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const QString html = input.text();
    const PageLinks page = PageLinks::scan(html);

    FUZZ_CHECK(page.links().size() <= html.count(u'<'));
    for (qint32 item = 0; item < page.itemCount(); ++item)
        FUZZ_CHECK(page.parentItem(item) < item);
    for (const PageLinks::Link& link : page.links()) {
        FUZZ_CHECK(link.item < page.itemCount());
        FUZZ_CHECK(link.address == link.address.trimmed());
        FUZZ_CHECK(html.contains(link.address) || html.contains(u'&'));
    }
    return 0;
}
