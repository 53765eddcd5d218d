#pragma once
// A file dialog's filter string from (description, patterns) pairs: "Description (*.A *.a)"
// entries joined by ";;". Linux names are case-sensitive, so every pattern is offered in lower
// case too.
#include <QString>
#include <vector>

#include "common/file_filter.h"

namespace brightline::ui {

QString dialogFilter(const std::vector<FileFilter>& filters);

}  // namespace brightline::ui
