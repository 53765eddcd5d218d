#pragma once
// One entry of a file dialog's filter: what the operator reads and the patterns it lets through.
#include <string>

namespace brightline {

struct FileFilter {
    std::string description;  // "All Files (*.ZPF,*.AT,*.TIM,*.ZRT)"
    std::string patterns;     // "*.ZPF;*.AT;*.TIM;*.ZRT"
};

}  // namespace brightline
