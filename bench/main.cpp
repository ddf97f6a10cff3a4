#include "ListBench.h"
#include "LzxBench.h"
#include "RoadBench.h"
#include "ScanBench.h"
#include "TitleBench.h"
#include "TocBench.h"

#include <QCoreApplication>
#include <QTextStream>

// Prints one line per figure: what was measured, the entry count, the time and, where a
// comparison is named, the comparison measured in the same run.
int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    out << "folvane benchmark\n";
    folvane::benchFileList(out);
    folvane::benchTocEditing(out);
    folvane::benchFolderScan(out);
    folvane::benchTitlePass(out);
    folvane::benchWholeRoad(out);
    folvane::benchLzx(out);
    return 0;
}
