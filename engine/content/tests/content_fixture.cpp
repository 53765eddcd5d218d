#include "engine/content/tests/content_fixture.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "engine/engine.h"
#include "engine/tests/show_fixture.h"

namespace brightline::content::testing {

void Workspace::write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(file(name), std::ios::binary);
    out << bytes;
}

Workspace::Result Workspace::play(ContentSettings settings, uint64_t maxTicks) const {
    engine::ShowOptions options;
    options.maxTicks = maxTicks;
    options.maxPages = 1;
    return play(std::move(settings), std::move(options));
}

Workspace::Result Workspace::play(ContentSettings settings, engine::ShowOptions options) const {
    if (settings.startFolder.empty()) settings.startFolder = fontsStartFolder();
    if (settings.programFolder.empty()) settings.programFolder = fontsStartFolder();
    options.workspace = folder_.path();
    engine::CollectingSink sink;
    engine::CollectingDiagnostics diag;
    engine::Engine player;
    player.start("run.at", options, &sink, diag, makeContentHooks(std::move(settings)));
    engine::testing::waitForTheShow(player);
    return {std::move(sink.frames), diag.text(), player.ticks()};
}

std::string scriptLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += line + "\r\n";
    return out;
}

std::string oneRegionShow(int width, int height) {
    return scriptLines(
        {"LED_W " + std::to_string(width), "LED_H " + std::to_string(height),
         "RUN wzp 1 10000.shw 0 0 " + std::to_string(width) + " " + std::to_string(height) + " 1",
         "END"});
}

std::string fontsStartFolder() {
    return BRIGHTLINE_BUILD_DIR;
}

const FontTable& builtInFonts() {
    static const FontTable fonts = [] {
        FontTable table;
        table.loadBuiltIn(fontsStartFolder(), fontsStartFolder(), [](const std::string&) {});
        return table;
    }();
    return fonts;
}

bool runFfmpeg(const std::string& arguments) {
    const std::string command =
        "ffmpeg -nostdin -hide_banner -loglevel error -y " + arguments + " </dev/null";
    return std::system(command.c_str()) == 0;
}

}  // namespace brightline::content::testing
