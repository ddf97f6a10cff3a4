#include "util/RuntimeError.h"

namespace folvane {

RuntimeError::RuntimeError(int number, QString description)
    : number_(number), description_(std::move(description)), utf8_(description_.toStdString()) {}

} // namespace folvane
