#include "common/ui/file_dialog_filter.h"

#include <QStringList>

#include "common/ui/qt_text.h"

namespace brightline::ui {

QString dialogFilter(const std::vector<FileFilter>& filters) {
    QStringList parts;
    for (const FileFilter& f : filters) {
        QString patterns = qs(f.patterns);
        patterns.replace(';', ' ');
        parts << qs(f.description) + " (" + patterns + " " + patterns.toLower() + ")";
    }
    return parts.join(";;");
}

}  // namespace brightline::ui
