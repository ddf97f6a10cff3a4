#include "EntropySite.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

namespace folvane {

void EntropySite::make(const QString& root) {
    QDir().mkpath(root);
    QRandomGenerator random(200);
    for (int n = 0; n < kPages; ++n) {
        QByteArray page = "<html><head><title>Page " + QByteArray::number(n) + "</title></head><body>\n<p>";
        page.reserve(kPageBytes + 64);
        while (page.size() < kPageBytes) {
            const int letters = 3 + static_cast<int>(random.bounded(8));
            for (int i = 0; i < letters; ++i)
                page += static_cast<char>('a' + random.bounded(26));
            page += page.size() % 4000 < 12 ? "</p>\n<p>" : " ";
        }
        page += "</p>\n</body></html>\n";
        QFile file(root + QStringLiteral("/page%1.htm").arg(n));
        if (file.open(QIODevice::WriteOnly))
            file.write(page);
    }
}

} // namespace folvane
