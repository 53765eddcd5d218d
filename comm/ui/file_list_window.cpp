#include "comm/ui/file_list_window.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "common/code_page.h"
#include "common/ui/qt_text.h"

namespace brightline::ui {

FileListWindow::FileListWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle("File list");
    setObjectName("FileListWindow");
    box_ = new QPlainTextEdit(this);
    box_->setReadOnly(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box_);
    layout->addWidget(buttons);
    resize(420, 360);
}

void FileListWindow::showText(const QString& text) {
    box_->setPlainText(text);
}

bool FileListWindow::showFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    QByteArray bytes;
    while (!file.atEnd()) bytes += file.read(8192);
    // The box shows CR LF as one line break; a lone LF becomes CR LF first.
    QByteArray text;
    for (int i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) text += '\r';
        text += bytes[i];
    }
    // The sign's names are in its code page, as every other text it sends.
    box_->setPlainText(qs(fromOem(text.toStdString())).replace("\r\n", "\n"));
    return true;
}

QString FileListWindow::text() const {
    return box_->toPlainText();
}

}  // namespace brightline::ui
