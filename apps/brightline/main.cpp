// brightline: the desktop program. Everything is in shell/ui; main() only hands over.
#include "shell/ui/application.h"

int main(int argc, char** argv) {
    return brightline::ui::runBrightline(argc, argv);
}
