#pragma once

#include <QString>

#include <exception>

namespace folvane {

// A command line that cannot be run: the reason goes out together with the usage text.
class UsageError : public std::exception {
public:
    explicit UsageError(QString reason) : reason_(std::move(reason)) {}
    const QString& reason() const { return reason_; }
    const char* what() const noexcept override { return "usage error"; }

private:
    QString reason_;
};

} // namespace folvane
