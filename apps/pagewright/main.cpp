// pagewright: the text page editor. Everything is in pageeditor/ui; main() answers --help and
// hands over.
#include <cstdio>
#include <cstring>

#include "pageeditor/ui/pagewright_app.h"

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf(
            "usage: pagewright [FILE.ZRT]\n"
            "Edits a text page for the sign and saves it as a .ZRT file. Without a file the\n"
            "page is ./new.ZRT. The path may also be given as the main program writes it, after\n"
            "spaces or in double quotes (\"D:\\pages\\a.ZRT\").\n");
        return 0;
    }
    return brightline::ui::runPagewright(argc, argv);
}
