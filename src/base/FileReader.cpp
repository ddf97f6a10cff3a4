#include "base/FileReader.h"

namespace folvane {

FileReader::~FileReader() {
    close();
}

FileReader::Status FileReader::readAll(const std::filesystem::path& path, std::uint64_t maxBytes, std::string& bytes) {
    bytes.clear();
    if (const Status opened = open(path); opened != Status::Ok)
        return opened;
    if (size_ > maxBytes)
        return Status::TooBig;
    bytes.resize(static_cast<std::size_t>(size_));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::optional<std::size_t> n =
            read(std::span(reinterpret_cast<std::uint8_t*>(bytes.data()) + done, bytes.size() - done));
        if (!n) {
            bytes.clear();
            return Status::ReadFailed;
        }
        if (*n == 0)
            break;
        done += *n;
    }
    bytes.resize(done);
    return Status::Ok;
}

} // namespace folvane
