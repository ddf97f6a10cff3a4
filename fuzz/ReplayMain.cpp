// Without libFuzzer each target runs over the files it is given (folders are read in name
// order): the committed corpus and every past finding are replayed by the ordinary tests.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {
bool replayFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()));
    return true;
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    int replayed = 0;
    bool ok = true;
    for (const QString& argument : app.arguments().mid(1)) {
        const QFileInfo info(argument);
        const QStringList files =
            info.isDir() ? QDir(argument).entryList(QDir::Files, QDir::Name) : QStringList{info.fileName()};
        for (const QString& name : files) {
            ok = replayFile(info.isDir() ? QDir(argument).filePath(name) : argument) && ok;
            ++replayed;
        }
    }
    std::printf("%d inputs replayed\n", replayed);
    return ok && replayed > 0 ? 0 : 1;
}
