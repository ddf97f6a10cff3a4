#pragma once

#include "project/ProjectSettings.h"
#include "toc/ListBox.h"

#include <QObject>
#include <QString>

#include <optional>

namespace folvane {

class Host;
class Project;

// The compile settings ("编译设置"). The settings live only here, in the controls'
// state; the main window creates the form on first use and destroys it when the user
// closes its window, so the next use starts again from the design defaults.
class FmOption : public QObject {
    Q_OBJECT
public:
    FmOption(Project& project, Host& host);

    const QString& chmFN() const { return chmFN_; }
    const QString& chmTt() const { return chmTt_; }
    const QString& co1Text() const { return co1Text_; }
    bool Ch1() const { return ch1_; }
    const QString& Lab() const { return lab_; }
    ListBox& Co1() { return co1_; }

    // Setting a text runs its change handler, as typing does.
    void setChmFN(const QString& text);
    void setChmTt(const QString& text);
    void setCo1Text(const QString& text);
    void setCh1(bool checked);

    ProjectSettings settings() const;

    void chmTt_Change();
    void chmFN_Change();
    void Command1_Click(); // "..."
    void Command2_Click(); // "保存并编译"
    void Command3_Click(); // "保存"
    // The answer to saveRequested: the status line confirms only a save that wrote both files.
    void showSaved(bool saved);

signals:
    void changed();
    // "保存" and "保存并编译": the main form saves and compiles the project.
    void saveRequested();
    // replaceAnyOutput: the user agreed to replace an output that is not a help file.
    void compileRequested(bool replaceAnyOutput);

private:
    // A changed setting is a change of the project: the next save writes it.
    void markEdited(bool edited);
    // Whether the output may be replaced (true when the user agreed to replace a file that the
    // compiler would refuse); nothing when the compile must not start.
    std::optional<bool> confirmOutput();
    std::optional<bool> askToReplace(const QString& question);

    Project& project_;
    Host& host_;
    QString chmFN_;
    QString chmTt_;
    QString co1Text_;
    ListBox co1_{ListBox::Selection::None};
    bool ch1_ = true;
    QString lab_;
    bool saved_ = false; // the answer to the last saveRequested
};

} // namespace folvane
