#include "forms/ProgressDriver.h"

#include "forms/ProB.h"
#include "host/Host.h"

namespace folvane {

ProgressDriver::ProgressDriver(Host& host, QObject* parent) : QObject(parent), host_(host) {}

ProgressDriver::~ProgressDriver() {
    discardForm();
}

bool ProgressDriver::ReportProgress(int& Percent, const QString& Text) {
    if (Percent < 1) {
        host_.setBusy(true);
        return true;
    }
    // A window that does not exist yet has not been cancelled: no need to create it here.
    const bool goOn = !(form_ && form_->Dont_Continue());
    if (!goOn)
        Percent = 100;
    if (Percent >= 100) {
        host_.setBusy(false);
        discardForm();
    } else {
        showProgress(Percent, Text);
    }
    return goOn;
}

void ProgressDriver::showProgress(int percent, const QString& text) {
    ensureForm();
    host_.doEvents();
    // A nested report of 100 may have closed the window meanwhile: leave it closed.
    ProB* form = form_.get();
    if (!form)
        return;
    // Nor bring back a window the user has just cancelled; the next report closes it.
    if (!form->isVisible() && !form->Dont_Continue())
        form->show();
    form->setPercent(percent);
    if (!text.isEmpty())
        form->setStatusText(text);
}

ProB& ProgressDriver::ensureForm() {
    if (!form_) {
        form_ = std::make_unique<ProB>();
        connect(form_.get(), &ProB::endProgramRequested, this, &ProgressDriver::endProgramRequested);
        emit formCreated(form_.get());
    }
    return *form_;
}

void ProgressDriver::discardForm() {
    if (!form_)
        return;
    form_->unload();
    emit formDiscarded(form_.get());
    form_.reset();
}

} // namespace folvane
