#pragma once

#include <QString>

#include <exception>
#include <string>

namespace folvane {

// A failure that ends a command and reaches the user as a description. Commands with
// an error trap catch it at their boundary; "skip the step" code catches it per step.
class RuntimeError : public std::exception {
public:
    enum Code {
        InvalidArgument = 5,
        ListIndex = 381,
        ListFull = 7,
        PatternInvalid = 93,
        FileAccess = 75,
        PermissionDenied = 70,
        PathNotFound = 76,
        DiskFull = 61,
    };

    RuntimeError(int number, QString description);

    int number() const noexcept { return number_; }
    const QString& description() const noexcept { return description_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    int number_;
    QString description_;
    std::string utf8_;
};

} // namespace folvane
