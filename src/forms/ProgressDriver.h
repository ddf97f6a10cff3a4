#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace folvane {

class Host;
class ProB;

// Drives the progress window for a long-running caller. The window exists only while
// there is progress to show: it is created on demand and discarded at 100 %.
class ProgressDriver : public QObject {
    Q_OBJECT
public:
    explicit ProgressDriver(Host& host, QObject* parent = nullptr);
    ~ProgressDriver() override;

    // Percent below 1 only sets the busy pointer; 1 to 99 shows the window with the bar
    // and Text (an empty Text keeps the status line); 100 or more closes it. Returns false
    // once the user has cancelled; Percent then becomes 100 so that the window closes.
    bool ReportProgress(int& Percent, const QString& Text);

    // The current window, or nullptr when there is none.
    ProB* form() const { return form_.get(); }

signals:
    void formCreated(folvane::ProB* form);
    // Emitted just before the form is deleted.
    void formDiscarded(folvane::ProB* form);
    void endProgramRequested();

private:
    ProB& ensureForm();
    void discardForm();
    void showProgress(int percent, const QString& text);

    Host& host_;
    std::unique_ptr<ProB> form_;
};

} // namespace folvane
