#include "navbuilder/FmContent.h"

namespace folvane {

FmContent::FmContent(FmCHM& main, Host& host) : main_(main), host_(host) {}

} // namespace folvane
