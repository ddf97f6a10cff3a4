#include "hhc/ConsoleText.h"

#include <clocale>
#include <csignal>
#include <unistd.h>

namespace folvane::hhc {

namespace {
volatile std::sig_atomic_t interruptSeen = 0;

void onInterrupt(int) {
    interruptSeen = 1;
}
} // namespace

void catchInterrupts() {
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    // Past a file-size limit a write then fails with a reason, instead of the signal ending
    // the compile without a word and leaving its temporary file.
    std::signal(SIGXFSZ, SIG_IGN);
}

bool interrupted() {
    return interruptSeen != 0;
}

void prepareConsole() {
    // System error texts in the user's language; numbers keep their plain form.
    std::setlocale(LC_MESSAGES, "");
}

void holdOwnConsole() {
    // A terminal belongs to its shell; without one the compiler shows its window instead.
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
