#pragma once
// Text between the core (std::string, UTF-8) and Qt (QString).
#include <QString>
#include <string>

namespace brightline::ui {

inline QString qs(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string ss(const QString& text) {
    return text.toStdString();
}

}  // namespace brightline::ui
