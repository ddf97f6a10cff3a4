#include "folvane-make/MakeOptions.h"

#include "folvane-make/UsageError.h"

#include <array>

namespace folvane {

namespace {

struct TitleModeName {
    const char16_t* name;
    int mode;
};
constexpr std::array<TitleModeName, 4> kTitleModes{{
    {u"stem", NavSettings::BaseName},
    {u"name", NavSettings::FullName},
    {u"between", NavSettings::BetweenMarkers},
    {u"firstline", NavSettings::FirstLine},
}};

int titleModeNamed(const QString& name) {
    for (const TitleModeName& m : kTitleModes)
        if (name == QStringView(m.name))
            return m.mode;
    throw UsageError(QStringLiteral("unknown --titles mode '%1' (stem, name, between or firstline)").arg(name));
}

NavSettings::Order orderNamed(const QString& name) {
    if (name == u"folders")
        return NavSettings::Order::Folders;
    if (name == u"links")
        return NavSettings::Order::Links;
    throw UsageError(QStringLiteral("unknown --order '%1' (folders or links)").arg(name));
}

int depthNamed(const QString& text) {
    bool ok = false;
    const int depth = text.toInt(&ok);
    if (!ok || depth < NavSettings::kMinDepthLimit || depth > NavSettings::kMaxDepthLimit)
        throw UsageError(QStringLiteral("--depth takes a number from %1 to %2, not '%3'")
                             .arg(NavSettings::kMinDepthLimit)
                             .arg(NavSettings::kMaxDepthLimit)
                             .arg(text));
    return depth;
}

// Walks the arguments once; an option's values are the arguments that follow it, or the
// text after "=" for a long option with one value.
class ArgumentReader {
public:
    explicit ArgumentReader(const QStringList& arguments) : args_(arguments) {}

    bool atEnd() const { return pos_ >= args_.size(); }
    QString next() { return args_[pos_++]; }

    // The value of option `name`; `inlineValue` is what followed "=", if anything.
    QString value(const QString& name, const std::optional<QString>& inlineValue) {
        if (inlineValue)
            return *inlineValue;
        if (atEnd())
            throw UsageError(QStringLiteral("option %1 needs a value").arg(name));
        return next();
    }

private:
    const QStringList& args_;
    qsizetype pos_ = 0;
};

bool isOption(const QString& arg) {
    return arg.size() > 1 && arg.startsWith(u'-');
}

void noValue(const QString& name, const std::optional<QString>& inlineValue) {
    if (inlineValue)
        throw UsageError(QStringLiteral("option %1 takes no value").arg(name));
}

} // namespace

MakeOptions MakeOptions::parse(const QStringList& arguments) {
    MakeOptions o;
    // Help and version win over everything else on the line.
    for (const QString& arg : arguments) {
        if (arg == u"--")
            break;
        if (arg == u"-h" || arg == u"--help" || arg == u"--version") {
            o.action = arg == u"--version" ? Action::Version : Action::Help;
            return o;
        }
    }

    QStringList positional;
    bool excludeGiven = false;
    bool noExcludeGiven = false;
    QString navigationOption; // the first option of the navigation builder given
    bool optionsEnded = false;
    ArgumentReader in(arguments);
    while (!in.atEnd()) {
        const QString arg = in.next();
        if (optionsEnded || !isOption(arg)) {
            positional.append(arg);
            continue;
        }
        if (arg == u"--") {
            optionsEnded = true;
            continue;
        }
        QString name = arg;
        std::optional<QString> inlineValue;
        if (arg.startsWith(u"--") && arg.contains(u'=')) {
            name = arg.section(u'=', 0, 0);
            inlineValue = arg.section(u'=', 1);
        }
        if (navigationOption.isEmpty() && (name == u"--titles" || name == u"--markers" || name == u"--exclude" ||
                                           name == u"--no-exclude" || name == u"--order" || name == u"--depth"))
            navigationOption = name;
        if (name == u"-t" || name == u"--title") {
            o.title = in.value(name, inlineValue);
        } else if (name == u"-o" || name == u"--output") {
            o.output = in.value(name, inlineValue);
        } else if (name == u"--home") {
            o.home = in.value(name, inlineValue);
        } else if (name == u"--titles") {
            o.titleMode = titleModeNamed(in.value(name, inlineValue));
        } else if (name == u"--markers") {
            if (inlineValue)
                throw UsageError(QStringLiteral("--markers takes two values: --markers START END"));
            o.startMarker = in.value(name, std::nullopt);
            o.endMarker = in.value(name, std::nullopt);
        } else if (name == u"--exclude") {
            o.excludedTypes = in.value(name, inlineValue);
            excludeGiven = true;
        } else if (name == u"--no-exclude") {
            noValue(name, inlineValue);
            o.exclude = false;
            noExcludeGiven = true;
        } else if (name == u"--order") {
            o.order = orderNamed(in.value(name, inlineValue));
        } else if (name == u"--depth") {
            o.depthLimit = depthNamed(in.value(name, inlineValue));
        } else if (name == u"--show-nav") {
            noValue(name, inlineValue);
            o.showNav = true;
        } else if (name == u"--open") {
            noValue(name, inlineValue);
            o.open = true;
        } else if (name == u"--force") {
            noValue(name, inlineValue);
            o.force = true;
        } else if (name == u"--no-compile") {
            noValue(name, inlineValue);
            o.compile = false;
        } else if (name == u"-q" || name == u"--quiet") {
            noValue(name, inlineValue);
            o.quiet = true;
        } else {
            throw UsageError(QStringLiteral("unknown option %1").arg(name));
        }
    }
    if (excludeGiven && noExcludeGiven)
        throw UsageError(QStringLiteral("--exclude and --no-exclude cannot be used together"));
    if (o.open && !navigationOption.isEmpty())
        throw UsageError(
            QStringLiteral("%1 cannot be used with --open: the contents come from the project").arg(navigationOption));
    if (positional.isEmpty())
        throw UsageError(QStringLiteral("FOLDER is missing"));
    if (positional.size() > 1)
        throw UsageError(QStringLiteral("unexpected argument '%1'").arg(positional[1]));
    if (positional.front().isEmpty())
        throw UsageError(QStringLiteral("FOLDER is empty"));
    o.folder = positional.front();
    return o;
}

QString MakeOptions::usage() {
    return QStringLiteral(
        "Usage: folvane-make FOLDER [options]\n"
        "Builds the help project of FOLDER as the program does (add the folder, navigation\n"
        "builder, compile settings, save) and compiles it.\n"
        "      --open              open FOLDER/HH_KVEL.hhp as it was saved (files, contents, settings)\n"
        "                          instead of building new contents; -t, -o, --home and --show-nav\n"
        "                          change its settings (the navigation builder's options are refused)\n"
        "  -t, --title TEXT        title; as typing it in the settings does, the output becomes FOLDER/TEXT.chm\n"
        "  -o, --output FILE       output file (applied after --title)\n"
        "      --force             replace the output file even when it is not a help file or is read-only\n"
        "      --home PAGE         home page, as the home-page field holds it (default: empty)\n"
        "      --titles MODE       stem (default) | name | between | firstline: the four title options\n"
        "      --markers START END markers for --titles between (default \"<title>\" \"</title>\")\n"
        "      --exclude TYPES     excluded types (default \"jpg;gif;png;bmp;css;js;vbs\")\n"
        "      --no-exclude        exclude nothing\n"
        "      --order ORDER       folders (default): one folder entry per folder | links: pages in the\n"
        "                          order the home page's links give, other pages at the end\n"
        "      --depth N           deepest level of --order links below the home page (default 4)\n"
        "      --show-nav          open the help window with its navigation pane shown (default: closed)\n"
        "      --no-compile        write HH_KVEL.hhp and HH_KVEL.hhc only\n"
        "  -q, --quiet             print errors only\n"
        "  -h, --help, --version\n"
        "Exit status: 0 done, 1 failed, 2 usage error.\n");
}

} // namespace folvane
