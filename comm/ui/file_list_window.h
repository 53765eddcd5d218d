#pragma once
// "File list": one read-only multi-line text box and OK. Shows a text as given, or a file's
// whole text (in the sign's code page) with every LF turned into CR LF (shown as line breaks).
#include <QDialog>

class QPlainTextEdit;

namespace brightline::ui {

class FileListWindow : public QDialog {
    Q_OBJECT
  public:
    explicit FileListWindow(QWidget* parent = nullptr);
    void showText(const QString& text);
    // False when the file cannot be read (the box stays empty).
    bool showFile(const QString& path);
    QString text() const;

  private:
    QPlainTextEdit* box_;
};

}  // namespace brightline::ui
