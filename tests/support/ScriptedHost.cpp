#include "support/ScriptedHost.h"

namespace folvane {

namespace {
template <typename T> bool takeFront(std::deque<T>& queue, T& out) {
    if (queue.empty())
        return false;
    out = std::move(queue.front());
    queue.pop_front();
    return true;
}
} // namespace

QList<ScriptedHost::Prompt> ScriptedHost::prompts(PromptKind kind) const {
    QList<Prompt> out;
    for (const Prompt& p : prompts_)
        if (p.kind == kind)
            out.append(p);
    return out;
}

QStringList ScriptedHost::messageTexts() const {
    QStringList out;
    for (const Prompt& p : prompts_)
        if (p.kind == PromptKind::Message)
            out.append(p.text);
    return out;
}

void ScriptedHost::setKeyDown(int virtualKey, bool down) {
    if (down)
        keysDown_.insert(virtualKey);
    else
        keysDown_.remove(virtualKey);
}

int ScriptedHost::messageBox(const QString& prompt, MsgButtons buttons, MsgIcon icon, int defaultButton,
                             const QString& title, MsgMeaning /*meaning*/) {
    Prompt p;
    p.kind = PromptKind::Message;
    p.text = prompt;
    p.title = title;
    p.buttons = buttons;
    p.icon = icon;
    p.defaultButton = defaultButton;
    prompts_.append(p);
    int answer = 0;
    if (takeFront(messages_, answer))
        return answer;
    return msgButtonResult(buttons, defaultButton);
}

std::optional<QString> ScriptedHost::inputBox(const QString& prompt, const QString& defaultText, const QString& title,
                                              std::optional<QPoint> positionTwips) {
    Prompt p;
    p.kind = PromptKind::Input;
    p.text = prompt;
    p.title = title;
    p.defaultText = defaultText;
    p.positionTwips = positionTwips;
    prompts_.append(p);
    std::optional<QString> answer;
    takeFront(inputs_, answer);
    return answer;
}

QString ScriptedHost::browseForFolder(const QString& startFolder, const QString& title, bool includeFiles) {
    Prompt p;
    p.kind = PromptKind::Folder;
    p.text = title;
    p.defaultText = startFolder;
    p.includeFiles = includeFiles;
    prompts_.append(p);
    QString answer;
    takeFront(folders_, answer);
    return answer;
}

QStringList ScriptedHost::openFiles(const QString& startFolder, const QString& filter, const QString& title) {
    Prompt p;
    p.kind = PromptKind::OpenFiles;
    p.text = title;
    p.defaultText = startFolder;
    p.filter = filter;
    prompts_.append(p);
    QStringList answer;
    takeFront(openFiles_, answer);
    return answer;
}

QString ScriptedHost::saveFile(const QString& startPath, const QString& filter, const QString& title,
                               const QString& defaultExtension) {
    Prompt p;
    p.kind = PromptKind::SaveFile;
    p.text = title;
    p.defaultText = startPath;
    p.filter = filter;
    p.defaultExtension = defaultExtension;
    prompts_.append(p);
    QString answer;
    takeFront(saveFiles_, answer);
    return answer;
}

void ScriptedHost::doEvents() {
    ++doEventsCount_;
    if (onDoEvents)
        onDoEvents();
}

void ScriptedHost::setBusy(bool busy) {
    if (busy_ != busy)
        ++busyChanges_;
    busy_ = busy;
}

bool ScriptedHost::startDetached(const QString& program, const QStringList& arguments, const QString& commandLine) {
    launches_.append(Launch{program, arguments, commandLine});
    return startSucceeds_;
}

} // namespace folvane
