#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;

namespace folvane::hhc {

// Shows the compiler's output when there is no terminal, as a console window would.
class HhcWindow : public QWidget {
    Q_OBJECT
public:
    explicit HhcWindow(QWidget* parent = nullptr);

    void appendOutput(const QString& text);
    // Ends the output with the compile's last line.
    void showResult(bool succeeded, const QString& text);

signals:
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPlainTextEdit* output_;
    QLabel* status_;
};

} // namespace folvane::hhc
