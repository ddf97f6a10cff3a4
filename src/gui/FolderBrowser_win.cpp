#include "gui/FolderBrowser.h"

#include <QDir>
#include <QWidget>

#include <windows.h>

#include <shlobj.h>

#include <string>

namespace folvane {

namespace {
int CALLBACK selectStartFolder(HWND window, UINT message, LPARAM /*parameter*/, LPARAM startFolder) {
    if (message == BFFM_INITIALIZED && startFolder != 0)
        SendMessageW(window, BFFM_SETSELECTIONW, TRUE, startFolder);
    return 0;
}
} // namespace

QString browseForFolder(QWidget* owner, const QString& startFolder, const QString& prompt, bool includeFiles) {
    // Qt's folder dialog has no place for the prompt but its caption; this one shows it above
    // the folders and takes a typed or pasted path too.
    const std::wstring title = prompt.toStdWString();
    const std::wstring start = QDir::toNativeSeparators(startFolder).toStdWString();
    BROWSEINFOW info{};
    info.hwndOwner = owner ? reinterpret_cast<HWND>(owner->window()->winId()) : nullptr;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
    if (includeFiles)
        info.ulFlags |= BIF_BROWSEINCLUDEFILES;
    info.lpfn = selectStartFolder;
    info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    QString folder;
    if (chosen) {
        // Room for the longest path Windows knows.
        std::wstring path(32768, L'\0');
        if (SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT))
            folder = QString::fromWCharArray(path.c_str());
        CoTaskMemFree(chosen);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return folder;
}

} // namespace folvane
