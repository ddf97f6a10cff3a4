#include "formats/ProjectFileWriter.h"

namespace folvane::formats {

void WindowDefinition::set(WindowField field, std::string_view text) {
    fields[fieldIndex(field)] = field <= WindowField::Jump2Text ? '"' + std::string(text) + '"' : std::string(text);
}

std::string ProjectFileContent::text() const {
    std::size_t size = 1024;
    for (const std::string& file : files)
        size += file.size() + 2;
    std::string out;
    out.reserve(size);
    const auto line = [&out](const auto&... parts) { (out.append(parts), ..., out.append("\r\n")); };
    line("[OPTIONS]");
    for (const auto& [key, value] : options)
        line(key, "=", value);
    line("[WINDOWS]");
    for (const WindowDefinition& window : windows) {
        out += window.name;
        for (std::size_t i = 0; i < kWindowFieldCount; ++i)
            (out += i == 0 ? '=' : ',') += window.fields[i];
        line();
    }
    for (const auto& [name, lines] : sections) {
        line("[", name, "]");
        for (const std::string& text : lines)
            line(text);
    }
    line("[FILES]");
    for (const std::string& file : files)
        line(file);
    return out;
}

} // namespace folvane::formats
