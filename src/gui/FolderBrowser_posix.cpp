#include "gui/FolderBrowser.h"

#include <QFileDialog>

namespace folvane {

QString browseForFolder(QWidget* owner, const QString& startFolder, const QString& prompt, bool includeFiles) {
    // The dialogs here have no place for a prompt but the caption.
    QFileDialog dialog(owner, prompt, startFolder);
    dialog.setFileMode(includeFiles ? QFileDialog::AnyFile : QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, !includeFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace folvane
