#pragma once

#include <QWidget>

class QLabel;
class QRect;
class QPlainTextEdit;
class QPushButton;

namespace folvane::hhc {

// Shows the compiler's output when there is no terminal, as a console window would. Esc
// and Enter close it; after a compile that succeeded "打开" shows the help file.
class HhcWindow : public QWidget {
    Q_OBJECT
public:
    explicit HhcWindow(QWidget* parent = nullptr);

    void appendOutput(const QString& text);
    // Ends the output with the compile's last line; complete: no file of the project was left out.
    void showResult(bool succeeded, const QString& text, bool complete = true);
    // Places the window in the middle of a rectangle of the screen (the program's own window).
    void centreOver(const QRect& area);
    // The help file the compile wrote, opened by "打开".
    void setOutputFile(const QString& path) { outputFile_ = path; }

signals:
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void openOutput();

    QPlainTextEdit* output_;
    QLabel* status_;
    QPushButton* open_;
    QPushButton* close_;
    QString outputFile_;
};

} // namespace folvane::hhc
