#include "CompileBench.h"
#include "ListBench.h"
#include "LzxBench.h"
#include "RoadBench.h"
#include "ScanBench.h"
#include "TitleBench.h"
#include "TocBench.h"
#include "ViewBench.h"

#include <QApplication>
#include <QStringList>
#include <QTextStream>

#include <array>

namespace {
struct Figure {
    const char* name;
    void (*run)(QTextStream&);
};

constexpr std::array<Figure, 8> kFigures{{
    {"list", folvane::benchFileList},
    {"toc", folvane::benchTocEditing},
    {"view", folvane::benchListView},
    {"scan", folvane::benchFolderScan},
    {"titles", folvane::benchTitlePass},
    {"road", folvane::benchWholeRoad},
    {"lzx", folvane::benchLzx},
    {"compile", folvane::benchCompile},
}};
} // namespace

// Prints one line per figure: what was measured, the entry count, the time and, where a
// comparison is named, the comparison measured in the same run. Names on the command line
// (list, toc, view, scan, titles, road, lzx, compile) pick figures; none runs them all.
int main(int argc, char* argv[]) {
    // The view figure draws a real window; without a display it draws offscreen.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList chosen = app.arguments().mid(1);
    QTextStream out(stdout);
    out << "folvane benchmark\n";
    for (const Figure& figure : kFigures) {
        if (chosen.isEmpty() || chosen.contains(QLatin1String(figure.name)))
            figure.run(out);
        out.flush();
    }
    return 0;
}
