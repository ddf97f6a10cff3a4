#include "hhc/ConsoleText.h"

#include <clocale>
#include <unistd.h>

namespace folvane::hhc {

void prepareConsole() {
    // System error texts in the user's language; numbers keep their plain form.
    std::setlocale(LC_MESSAGES, "");
}

bool isTerminal(std::FILE* stream) {
    return isatty(fileno(stream)) != 0;
}

void writeText(std::FILE* stream, std::string_view utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
}

std::vector<std::filesystem::path> commandArguments(int argc, char* argv[]) {
    std::vector<std::filesystem::path> out;
    for (int i = 1; i < argc; ++i)
        out.emplace_back(argv[i]);
    return out;
}

} // namespace folvane::hhc
