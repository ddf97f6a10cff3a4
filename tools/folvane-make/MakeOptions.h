#pragma once

#include "navbuilder/NavSettings.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace folvane {

// The command line of folvane-make: what a user would choose in the windows.
struct MakeOptions {
    enum class Action { Run, Help, Version };

    Action action = Action::Run;
    QString folder; // as given; MakeRun makes it absolute
    std::optional<QString> title;
    std::optional<QString> output;
    QString home;
    int titleMode = NavSettings::BaseName;
    QString startMarker = NavSettings().startMarker;
    QString endMarker = NavSettings().endMarker;
    bool exclude = true;
    QString excludedTypes = NavSettings().excludedTypes;
    NavSettings::Order order = NavSettings::Order::Folders;
    int depthLimit = NavSettings().depthLimit;
    bool showNav = false;
    bool open = false; // the folder's saved project instead of the navigation builder
    bool compile = true;
    bool force = false; // replace an output that is not a help file
    bool quiet = false;

    // arguments without the program name. Throws UsageError.
    static MakeOptions parse(const QStringList& arguments);
    static QString usage();
};

} // namespace folvane
