#include "FuzzInput.h"

namespace folvane::fuzz {

FuzzInput::FuzzInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        pos_ = 1;
        return;
    }
    const char* rest = reinterpret_cast<const char*>(data + 1);
    const auto restSize = static_cast<qsizetype>(size - 1);
    if (data[0] % 2 == 0)
        text_ = QString::fromUtf8(rest, restSize);
    else
        text_ = QString(reinterpret_cast<const QChar*>(QByteArray(rest, restSize).constData()), restSize / 2);
}

QString FuzzInput::text() {
    if (atEnd())
        return {};
    qsizetype end = text_.indexOf(QChar(u'\x01'), pos_);
    if (end < 0)
        end = text_.size();
    QString field = text_.mid(pos_, end - pos_);
    pos_ = end + 1;
    return field;
}

int FuzzInput::number(int limit) {
    const QString field = text();
    if (field.isEmpty() || limit <= 0)
        return 0;
    return field.front().unicode() % limit;
}

} // namespace folvane::fuzz
