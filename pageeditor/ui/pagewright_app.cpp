#include "pageeditor/ui/pagewright_app.h"

#include <QApplication>
#include <string>
#include <vector>

#include "pageeditor/document_names.h"
#include "pageeditor/ui/pagewright_window.h"

namespace brightline::ui {

int runPagewright(int argc, char** argv) {
    // Qt takes its own options (-platform, -display, ...) out of the arguments first.
    QApplication app(argc, argv);
    QApplication::setApplicationName("pagewright");
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    PagewrightWindow window;
    window.show();
    window.startOn(pageeditor::textPagePathFromArguments(arguments));
    return app.exec();
}

}  // namespace brightline::ui
