#pragma once

#include <QObject>

namespace folvane {

class FmCHM;
class Host;

// The navigation builder ("导航栏制作"). Created on first use and kept for the whole run,
// so the user's settings last until the program ends.
class FmContent : public QObject {
    Q_OBJECT
public:
    FmContent(FmCHM& main, Host& host);

private:
    FmCHM& main_;
    Host& host_;
};

} // namespace folvane
