#include "folvane-make/MakeRun.h"

#include "app/FmCHM.h"
#include "document/ProjectFileNames.h"
#include "folvane-make/BatchHost.h"
#include "folvane-make/CompilerRun.h"
#include "folvane-make/ProgressLine.h"
#include "navbuilder/FmContent.h"
#include "project/FmOption.h"
#include "project/OutputFileCheck.h"
#include "toc/FileMarker.h"
#include "util/PathJoin.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QSet>

#include <algorithm>

namespace folvane {

namespace {
// Whether the home-page field names a file of the file list, as it would open in the help:
// relative to the project folder (a leading separator too) or absolute, with or without a
// place in the page.
bool namesProjectPage(const FmCHM& form, const QString& home) {
    const auto key = [](const QString& path) { return QDir::cleanPath(QDir::fromNativeSeparators(path)); };
    QSet<QString> files;
    for (const ListEntry& e : form.LF.entries())
        if (!FileMarker::isFolder(e.itemData))
            files.insert(key(e.text));
    for (QString page : {home, home.section(u'#', 0, 0)}) {
        if (QDir::isRelativePath(page) || page.startsWith(u'\\') || page.startsWith(u'/')) {
            const QString inside = joinPath(form.ComparePath, page.mid(page.startsWith(u'/') ? 1 : 0));
            if (files.contains(key(inside)))
                return true;
        }
        if (files.contains(key(page)))
            return true;
    }
    return false;
}
} // namespace

MakeRun::MakeRun(MakeOptions options, Console console) : options_(std::move(options)), console_(console) {}

QString MakeRun::absoluteFolder(const QString& folder) {
    return QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()));
}

int MakeRun::failed(const QString& message) {
    console_.err.write((QStringLiteral("folvane-make: ") + message + u'\n').toLocal8Bit());
    return ExitStatus::Failed;
}

void MakeRun::report(const QString& line) {
    if (!options_.quiet)
        console_.out.write((line + u'\n').toLocal8Bit());
}

int MakeRun::exec() {
    const QString folder = absoluteFolder(options_.folder);
    if (!QFileInfo(folder).isDir())
        return failed(QStringLiteral("not a folder: %1").arg(folder));
    if (options_.open && !QFileInfo(joinPath(folder, projectFileName())).isFile())
        return failed(QStringLiteral("no project to open: %1").arg(joinPath(folder, projectFileName())));
    ProgressLine progress(console_.err, console_.errIsTerminal && !options_.quiet);
    BatchHost host(folder, console_.err, progress);
    host.setOpensExistingProject(options_.open);
    if (clock_)
        host.setClock(*clock_);
    return road(host);
}

int MakeRun::road(BatchHost& host) {
    FmCHM form(host);

    // Start-up asks for the folder and lists it, or opens its project with --open. A refusal
    // here (the list is full, the project cannot be read) means the project would be wrong:
    // stop before anything is written.
    host.beginCount(BatchHost::Count::ScanEntries);
    form.Form_Load();
    host.endCount();
    if (host.errorCount() > 0)
        return ExitStatus::Failed;

    // Only the folder hierarchy can fail here; a page too big to read is a warning.
    if (!options_.open) {
        host.beginCount(BatchHost::Count::Titles, [&form] { return form.LB().count(); });
        buildNavigation(form);
        host.endCount();
        if (host.errorCount() > 0)
            return ExitStatus::Failed;
    }

    fillSettings(form);
    // A home page the help does not hold opens on nothing, and one viewer refuses the file.
    if (!options_.home.isEmpty() && !namesProjectPage(form, options_.home)) {
        console_.err.write((QStringLiteral("folvane-make: --home names no page of the project: ") + options_.home +
                            u'\n' + MakeOptions::usage())
                               .toLocal8Bit());
        return ExitStatus::Usage;
    }
    if (options_.compile) {
        if (const std::optional<QString> refusal = outputRefusal(form))
            return failed(*refusal);
    }
    form.SaveIt();
    if (host.errorCount() > 0)
        return ExitStatus::Failed;
    const auto files = std::count_if(form.LF.entries().cbegin(), form.LF.entries().cend(),
                                     [](const ListEntry& e) { return !FileMarker::isFolder(e.itemData); });
    report(QStringLiteral("saved %1 and %2 (%3 files, %4 contents entries)")
               .arg(form.projectFilePath(), form.contentsFilePath())
               .arg(files)
               .arg(form.LB().count()));

    return options_.compile ? compile(form, host) : ExitStatus::Done;
}

void MakeRun::buildNavigation(FmCHM& form) const {
    // The walk of the links starts from the home page: chosen first, as a user would.
    if (!options_.home.isEmpty())
        form.fmOption().setCo1Text(options_.home);
    form.Command2_Click();
    FmContent& builder = form.fmContent();
    builder.setO(options_.titleMode);
    builder.setT1(options_.startMarker);
    builder.setT2(options_.endMarker);
    builder.setCheck2(options_.exclude);
    builder.setText1(options_.excludedTypes);
    builder.setCheck3(options_.order == NavSettings::Order::Links);
    builder.setSpin1(options_.depthLimit);
    builder.CmdOK_Click();
}

void MakeRun::fillSettings(FmCHM& form) const {
    // Opening the settings proposes FOLDER/HH_KVEL.chm, so a run without --title and
    // --output still names an output file.
    form.Cmd_Click(2);
    FmOption& settings = form.fmOption();
    if (options_.title)
        settings.setChmTt(*options_.title);
    if (options_.output)
        settings.setChmFN(QDir::toNativeSeparators(QFileInfo(*options_.output).absoluteFilePath()));
    // An opened project keeps the settings it was saved with unless they are given.
    if (!options_.open || !options_.home.isEmpty())
        settings.setCo1Text(options_.home);
    if (!options_.open || options_.showNav)
        settings.setCh1(!options_.showNav);
}

// The compiler would refuse the output as well, but only after the project was saved.
std::optional<QString> MakeRun::outputRefusal(FmCHM& form) const {
    const QString output = form.fmOption().chmFN();
    switch (examineOutput(output, form.ComparePath)) {
    case OutputTarget::Free:
        return std::nullopt;
    case OutputTarget::ProjectFile:
        return QStringLiteral("the output cannot be the project or contents file: %1").arg(output);
    case OutputTarget::NotHelpFile:
        if (options_.force)
            return std::nullopt;
        return QStringLiteral("the output exists and is not a help file: %1 (--force replaces it)").arg(output);
    case OutputTarget::ReadOnly:
        break;
    }
    if (options_.force)
        return std::nullopt;
    return QStringLiteral("the output is a read-only help file: %1 (--force replaces it)").arg(output);
}

int MakeRun::compile(FmCHM& form, BatchHost& host) {
    const QString output = form.fmOption().chmFN();
    CompilerCommand command(host.programFolder());
    command.setReplaceAnyOutput(options_.force);
    CompilerRun compiler(command, console_.err, options_.quiet);
    if (!compiler.run(form.projectFilePath(), output))
        return failed(compiler.failure());
    report(QStringLiteral("compiled %1").arg(output));
    return ExitStatus::Done;
}

} // namespace folvane
