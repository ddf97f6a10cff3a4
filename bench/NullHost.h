#pragma once

#include "host/Host.h"
#include "registry/MemoryRegistryBackend.h"

namespace folvane {

// A host that answers nothing: every dialog is cancelled, every message box takes its
// default button. Counts the messages so that a figure can tell a failed run apart.
class NullHost : public Host {
public:
    int messages() const { return messages_; }

    int messageBox(const QString&, MsgButtons buttons, MsgIcon, int defaultButton = 0, const QString& = {},
                   MsgMeaning = MsgMeaning::Failure) override {
        ++messages_;
        return msgButtonResult(buttons, defaultButton);
    }
    std::optional<QString> inputBox(const QString&, const QString&, const QString& = {},
                                    std::optional<QPoint> = {}) override {
        return std::nullopt;
    }
    QString browseForFolder(const QString&, const QString&, bool) override { return {}; }
    QStringList openFiles(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&, const QString&) override { return {}; }
    void doEvents() override {}
    void setBusy(bool) override {}
    bool isKeyDown(int) override { return false; }
    bool startDetached(const QString&, const QStringList&, const QString& = {}) override { return false; }
    void openUrl(const QString&) override {}
    void beep() override {}
    QSize screenSizeTwips() override { return {28800, 16200}; }
    QDateTime now() override { return QDateTime::currentDateTime(); }
    QString programFolder() override { return {}; }
    QString programName() override { return QStringLiteral("folvane"); }
    AppVersion version() override { return {}; }
    RegistryBackend& registry() override { return registry_; }

private:
    int messages_ = 0;
    MemoryRegistryBackend registry_;
};

} // namespace folvane
