// Saving any file list and TOC, with texts, depths and links of every kind: either both
// project files are written and describe the lists, or an error is shown and each file is
// still whole, old or new.
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "app/FmCHM.h"
#include "project/FmOption.h"
#include "support/ScriptedHost.h"
#include "toc/ListBox.h"
#include "util/RuntimeError.h"

#include <QFile>
#include <QTemporaryDir>

using namespace folvane;

namespace {
QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void fillFileList(fuzz::FuzzInput& input, FmCHM& main) {
    const int count = input.number(48);
    QList<ListEntry> files;
    for (int i = 0; i < count && !input.atEnd(); ++i) {
        // Paths keep out of the tag counts below.
        files.append({input.text().replace(u'<', u'_'), input.number(4) - 1, false});
    }
    main.project().restore(files, {});
}

void fillToc(fuzz::FuzzInput& input, FmCHM& main) {
    const int entries = input.number(48);
    ListBox& toc = main.LB();
    for (int i = 0; i < entries && !input.atEnd(); ++i) {
        toc.addItem(QString(input.number(12), u' ') + input.text());
        // Links run from -3 to past the end of the file list.
        toc.setItemData(i, input.number(main.LF.count() + 6) - 3);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir folder;
    fuzz::FuzzInput input(data, size);
    ScriptedHost host;
    const PathStyle style = input.flag() ? PathStyle::Windows : PathStyle::Posix;
    FmCHM main(host, style);
    // "\" is an ordinary character here: the Windows-style files land in the folder as "w\HH_KVEL.hhp".
    main.project().setComparePath(style == PathStyle::Windows ? folder.path() + QStringLiteral("/w") : folder.path());
    main.fmOption().setChmFN(input.text());
    main.fmOption().setChmTt(input.text());
    main.fmOption().setCo1Text(input.text());
    main.fmOption().setCh1(input.flag());
    fillFileList(input, main);
    fillToc(input, main);

    const QByteArray oldProject = contentsOf(main.projectFilePath());
    const QByteArray oldContents = contentsOf(main.contentsFilePath());
    main.SaveIt();
    const QByteArray project = contentsOf(main.projectFilePath());
    const QByteArray contents = contentsOf(main.contentsFilePath());

    if (!host.messageTexts().isEmpty()) {
        FUZZ_CHECK(!main.SavedFlag);
        FUZZ_CHECK(project == oldProject || project.endsWith("\r\n"));
        FUZZ_CHECK(contents == oldContents || contents.endsWith("</BODY></HTML>"));
        return 0;
    }
    FUZZ_CHECK(main.SavedFlag && main.SavedCount == main.LB().count());
    FUZZ_CHECK(project.startsWith("[OPTIONS]\r\n") && project.endsWith("\r\n"));
    FUZZ_CHECK(contents.endsWith("</UL>\r\n</BODY></HTML>"));
    // Every entry is one <LI>. A list opens once where the depth grows, whatever the step,
    // and closes once per level where it falls, so uneven steps leave the lists unbalanced.
    const QString text = QString::fromUtf8(contents);
    const QList<ListEntry>& toc = main.LB().entries();
    qsizetype items = 0;
    qsizetype opened = 1;
    qsizetype closed = 1;
    for (qsizetype i = 0; i < toc.size(); ++i) {
        items += toc[i].text.count(QStringLiteral("<LI>"));
        opened += toc[i].text.count(QStringLiteral("<UL>"));
        closed += toc[i].text.count(QStringLiteral("</UL>"));
        const int level = lineDepth(toc[i].text);
        const int next = i + 1 < toc.size() ? lineDepth(toc[i + 1].text) : 0;
        opened += next > level ? 1 : 0;
        closed += qMax(0, level - next);
    }
    FUZZ_CHECK(text.count(QStringLiteral("<LI>")) == items + toc.size());
    FUZZ_CHECK(text.count(QStringLiteral("<UL>")) == opened);
    FUZZ_CHECK(text.count(QStringLiteral("</UL>")) == closed);
    return 0;
}
