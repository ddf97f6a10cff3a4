#include "app/FmCHM.h"
#include "gui/MainWindow.h"
#include "gui/QtHost.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <csignal>

namespace {
void installChineseTranslations(QApplication& app) {
    // Standard buttons read 是/否/取消/确定. The Windows program carries Qt's texts inside.
    const QStringList folders = {QLibraryInfo::path(QLibraryInfo::TranslationsPath), QStringLiteral(":/translations")};
    for (const char* name : {"qtbase_zh_CN", "qt_zh_CN"}) {
        auto* translator = new QTranslator(&app);
        bool loaded = false;
        for (const QString& folder : folders)
            loaded = loaded || translator->load(QString::fromLatin1(name), folder);
        if (loaded)
            QApplication::installTranslator(translator);
        else
            delete translator;
    }
}
} // namespace

int main(int argc, char* argv[]) {
#ifndef Q_OS_WIN
    // Past a file-size limit a save fails with a message instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Folvane"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/folvane.png")));
    // The desktop entry the windows belong to (task bars group and label them by it).
    QGuiApplication::setDesktopFileName(QStringLiteral("folvane"));
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    installChineseTranslations(app);
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Microsoft YaHei"), QStringLiteral("SimSun"),
                      QStringLiteral("WenQuanYi Micro Hei")});
    font.setPointSize(9);
    QApplication::setFont(font);

    folvane::QtHost host;
    folvane::FmCHM form(host);
    folvane::MainWindow window(form, host);
    // Loading runs inside the event loop: closing the window during the first scan must be able
    // to end it, and a quit asked for before the loop runs would be lost.
    QTimer::singleShot(0, &form, &folvane::FmCHM::Form_Load);
    return QApplication::exec();
}
