#include "hhc/HhpRewriter.h"

#include <QDir>
#include <QFileInfo>
#include <QList>

namespace folvane {

namespace {

const QChar Quote = u'"';

struct Field {
    QString text;
    bool quoted = false;
};

bool isKey(const QString& line, QLatin1StringView key) {
    const qsizetype eq = line.indexOf(u'=');
    return eq >= 0 && QStringView(line).left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0;
}

QString valueOf(const QString& line) {
    return line.mid(line.indexOf(u'=') + 1);
}

QString dequoted(const QString& value) {
    const QString t = value.trimmed();
    if (t.size() >= 2 && t.startsWith(Quote) && t.endsWith(Quote))
        return t.mid(1, t.size() - 2);
    return t;
}

// Section name of a header line such as "[FILES]", upper case; empty for other lines.
QString sectionOf(const QString& line) {
    const QString t = line.trimmed();
    if (t.size() >= 2 && t.startsWith(u'[') && t.endsWith(u']'))
        return t.mid(1, t.size() - 2).trimmed().toUpper();
    return {};
}

// Splits a window definition the way chmcmd reads it: a field that starts with a quote
// ends at the next quote (one character after it is skipped), any other at the next comma.
QList<Field> splitFields(const QString& s) {
    QList<Field> fields;
    const qsizetype len = s.size();
    qsizetype i = 0;
    while (i < len) {
        if (s[i] == Quote) {
            qsizetype end = s.indexOf(Quote, i + 1);
            if (end < 0)
                end = len;
            fields.append({s.mid(i + 1, end - i - 1), true});
            i = end + 2;
        } else {
            qsizetype end = s.indexOf(u',', i);
            if (end < 0)
                end = len;
            fields.append({s.mid(i, end - i), false});
            i = end + 1;
        }
    }
    if (s.endsWith(u','))
        fields.append(Field{});
    return fields;
}

// chmcmd knows no escape for a quote inside a quoted field: such text goes unquoted when
// it has no comma, else its quotes become apostrophes.
QString encodeField(const Field& field) {
    if (!field.quoted)
        return field.text;
    if (!field.text.contains(Quote))
        return Quote + field.text + Quote;
    if (!field.text.contains(u',') && !field.text.startsWith(Quote))
        return field.text;
    QString text = field.text;
    text.replace(Quote, u'\'');
    return Quote + text + Quote;
}

} // namespace

HhpRewriter::HhpRewriter(const QString& projectFile)
    : projectFile_(QFileInfo(projectFile).absoluteFilePath()),
      projectDir_(QDir::cleanPath(QFileInfo(projectFile).absolutePath())) {}

QString HhpRewriter::rewrite(const QString& text) {
    QStringList lines = text.split(u'\n');
    const Options options = readOptions(lines);
    const QString lineEnd = lines.first().endsWith(u'\r') ? QStringLiteral("\r") : QString();
    outputFile_ = resolveOutput(QString());
    skippedFiles_.clear();
    fullTextSearch_ = false;
    allFilesExist_ = true;

    QStringList out;
    QStringList seenFiles;
    QString section;
    qsizetype optionsHeader = -1;
    for (const QString& raw : std::as_const(lines)) {
        const bool cr = raw.endsWith(u'\r');
        QString line = cr ? raw.chopped(1) : raw;
        const QString header = sectionOf(line);
        if (!header.isEmpty()) {
            section = header;
            if (section == u"OPTIONS" && optionsHeader < 0)
                optionsHeader = out.size();
        } else if (section == u"OPTIONS") {
            line = rewriteOption(line);
        } else if (section == u"WINDOWS") {
            line = rewriteWindow(line, options);
        } else if (section == u"FILES" && !line.trimmed().isEmpty()) {
            line = relativeToProject(line);
            if (namesBackslashFile(line)) {
                skippedFiles_.append(line);
                continue;
            }
            allFilesExist_ = allFilesExist_ && chmcmdFinds(line);
            // One name twice would give the help file two directory entries.
            if (seenFiles.contains(line))
                continue;
            seenFiles.append(line);
        }
        out.append(cr ? line + u'\r' : line);
    }

    // Without an output name chmcmd stops with an exception; the Windows compiler names the
    // help file after the project.
    if (!options.hasOutput) {
        const QString outputLine = QStringLiteral("Compiled file=") + outputFile_ + lineEnd;
        if (optionsHeader >= 0)
            out.insert(optionsHeader + 1, outputLine);
        else
            out = QStringList{QStringLiteral("[OPTIONS]") + lineEnd, outputLine} + out;
    }
    return out.join(u'\n');
}

HhpRewriter::Options HhpRewriter::readOptions(const QStringList& lines) {
    Options options;
    QString section;
    for (const QString& raw : lines) {
        const QString line = raw.endsWith(u'\r') ? raw.chopped(1) : raw;
        const QString header = sectionOf(line);
        if (!header.isEmpty())
            section = header;
        else if (section != u"OPTIONS")
            continue;
        else if (isKey(line, QLatin1StringView("Title")))
            options.title = valueOf(line);
        else if (isKey(line, QLatin1StringView("Contents file")))
            options.contents = valueOf(line);
        else if (isKey(line, QLatin1StringView("Default topic")))
            options.defaultTopic = valueOf(line);
        else if (isKey(line, QLatin1StringView("Compiled file")))
            options.hasOutput = true;
    }
    return options;
}

QString HhpRewriter::rewriteOption(const QString& line) {
    const QString key = line.left(line.indexOf(u'=') + 1);
    if (isKey(line, QLatin1StringView("Compiled file"))) {
        outputFile_ = resolveOutput(valueOf(line));
        return key + outputFile_;
    }
    if (isKey(line, QLatin1StringView("Default topic")))
        return key + topic(valueOf(line));
    if (isKey(line, QLatin1StringView("Contents file")) || isKey(line, QLatin1StringView("Index file")))
        return key + dequoted(valueOf(line));
    if (isKey(line, QLatin1StringView("Full-text search"))) {
        fullTextSearch_ = valueOf(line).trimmed().compare(QLatin1StringView("Yes"), Qt::CaseInsensitive) == 0;
        if (!searchAllowed_ && fullTextSearch_) {
            fullTextSearch_ = false;
            return key + QStringLiteral("No");
        }
    }
    return line;
}

QString HhpRewriter::rewriteWindow(const QString& line, const Options& options) const {
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return line;
    const QString rest = line.mid(eq + 1);

    // The program writes title, contents file and home page unescaped; knowing them from the
    // options reads its own line right even when the title holds quotes or commas.
    const QString head = Quote + options.title + QStringLiteral("\",\"") + options.contents + QStringLiteral("\",,\"") +
                         options.defaultTopic + QStringLiteral("\",\"") + options.defaultTopic + QStringLiteral("\",");
    QList<Field> fields;
    if (rest.startsWith(head)) {
        fields = {{options.title, true},
                  {options.contents, true},
                  {},
                  {options.defaultTopic, true},
                  {options.defaultTopic, true}};
        fields += splitFields(rest.mid(head.size()));
    } else {
        fields = splitFields(rest);
    }
    // Fields 3 and 4 are the default and the home topic.
    for (qsizetype i = 3; i <= 4 && i < fields.size(); ++i)
        fields[i].text = topic(fields[i].text);

    QStringList encoded;
    for (const Field& field : std::as_const(fields))
        encoded.append(encodeField(field));
    return line.left(eq + 1) + encoded.join(u',');
}

QString HhpRewriter::resolveOutput(const QString& value) const {
    const QString name = dequoted(value);
    if (name.isEmpty())
        return projectDir_ + u'/' + QFileInfo(projectFile_).completeBaseName() + QStringLiteral(".chm");
    return QDir::cleanPath(QDir(projectDir_).absoluteFilePath(name));
}

QString HhpRewriter::relativeToProject(const QString& path) const {
    if (!QDir::isAbsolutePath(path))
        return path;
    const auto outside = [](const QString& rel) { return rel == u".." || rel.startsWith(u"../"); };
    const QString rel = QDir(projectDir_).relativeFilePath(path);
    if (!outside(rel))
        return rel;
    // The project may have been named through a symbolic link that the file paths avoid.
    const QString canonicalDir = QFileInfo(projectDir_).canonicalFilePath();
    const QString canonicalPath = QFileInfo(path).canonicalFilePath();
    if (canonicalDir.isEmpty() || canonicalPath.isEmpty())
        return rel;
    const QString canonicalRel = QDir(canonicalDir).relativeFilePath(canonicalPath);
    return outside(canonicalRel) ? rel : canonicalRel;
}

bool HhpRewriter::namesBackslashFile(const QString& relative) const {
    return relative.contains(u'\\') && QFileInfo::exists(QDir(projectDir_).filePath(relative)) &&
           !chmcmdFinds(relative);
}

bool HhpRewriter::chmcmdFinds(const QString& relative) const {
    QString mapped = relative;
    mapped.replace(u'\\', u'/');
    return QFileInfo::exists(QDir(projectDir_).filePath(mapped));
}

QString HhpRewriter::topic(const QString& value) const {
    QString name = dequoted(value);
    if (name.isEmpty() || QDir::isAbsolutePath(name))
        return relativeToProject(name);
    // A backslash is a separator in a Windows-style home page, unless a file is named with it.
    if (!QFileInfo::exists(projectDir_ + u'/' + name))
        name.replace(u'\\', u'/');
    return name;
}

} // namespace folvane
