#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;

namespace folvane {

// Shows the compiler's output when there is no terminal, as a console window would.
class HhcWindow : public QWidget {
    Q_OBJECT
public:
    explicit HhcWindow(QWidget* parent = nullptr);

    void appendOutput(const QString& text);
    // Ends the output with the status line naming the help file.
    void showResult(int status, const QString& outputFile);

private:
    QPlainTextEdit* output_;
    QLabel* status_;
};

} // namespace folvane
