#include "navbuilder/FirstNonBlankLine.h"

#include "navbuilder/TitleBetween.h"
#include "platform/FileName.h"

#include <QFile>
#include <QStringDecoder>

namespace folvane {

namespace {
constexpr qint64 kChunkBytes = 64 * 1024;

// Collects characters into lines and keeps the first non-blank one.
class LineSplitter {
public:
    // False once a non-blank line has been found.
    bool feed(QStringView chunk) {
        for (const QChar c : chunk) {
            const bool lfAfterCr = afterCr_ && c == QLatin1Char('\n');
            afterCr_ = c == QLatin1Char('\r');
            if (lfAfterCr)
                continue;
            if (afterCr_) {
                if (finishLine())
                    return false;
                continue;
            }
            line_.append(c);
        }
        return true;
    }
    // The last line needs no break after it.
    QString finish() {
        finishLine();
        return found_;
    }

private:
    bool finishLine() {
        if (found_.isEmpty())
            found_ = trimSpaces(line_);
        line_.clear();
        return !found_.isEmpty();
    }

    QString line_;
    QString found_;
    bool afterCr_ = false;
};
} // namespace

QString FirstNonBlankLine(const QString& path) {
    QFile file;
    if (!openForReading(file, path))
        return {};
    // Same decoding as every other text file: system code page, no byte-order mark.
    QStringDecoder decoder(QStringConverter::System, QStringConverter::Flag::ConvertInitialBom);
    LineSplitter lines;
    while (!file.atEnd()) {
        const QByteArray bytes = file.read(kChunkBytes);
        if (bytes.isEmpty())
            break;
        const QString text = decoder(bytes);
        if (!lines.feed(text))
            break;
    }
    return lines.finish();
}

} // namespace folvane
