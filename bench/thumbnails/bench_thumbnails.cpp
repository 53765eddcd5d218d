// The picture library of 300 camera-size photos (4000 x 3000 JPEG): the time until the property
// view lists them and until every 96 x 72 thumbnail is filled in, next to
//   vipsthumbnail -s 96x72 -o OUT/%s.jpg PHOTO1 ... PHOTO300
// (one process for all 300) in the same run. Prints the best of the rounds for each and the ratio
// of our fill time to vipsthumbnail's; the target is a ratio of at most 1.5.
//
// Usage: bench_thumbnails [ROUNDS] [PHOTO_FOLDER]
//   ROUNDS defaults to 3; the photos are made once by ffmpeg into PHOTO_FOLDER (default: a cache
//   folder in the build tree) and reused by later runs. Needs ffmpeg and vipsthumbnail (package
//   libvips-tools) on the PATH; without a display it runs on Qt's offscreen platform.
#include <QApplication>
#include <QElapsedTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "common/folders.h"
#include "common/operator_messages.h"
#include "editor/resource_library.h"
#include "editor/ui/property_view.h"
#include "editor/ui/thumbnail_service.h"

namespace {

namespace fs = std::filesystem;
constexpr int kPhotos = 300;

std::string photoName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "photo%03d.jpg", i);
    return name;
}

std::string quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// The 300 photos in `folder`, made by ffmpeg when any is missing: a moving test pattern with
// grain, so that each compresses like a photo rather than a flat picture.
bool ensurePhotos(const fs::path& folder, std::vector<std::string>& paths) {
    fs::create_directories(folder);
    bool complete = true;
    for (int i = 1; i <= kPhotos; ++i) {
        paths.push_back((folder / photoName(i)).string());
        complete = complete && fs::exists(paths.back());
    }
    if (complete) return true;
    std::printf("making %d photos of 4000 x 3000 in %s (once) ...\n", kPhotos, folder.c_str());
    std::fflush(stdout);
    const std::string command =
        "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "
        "testsrc2=size=4000x3000:rate=1:duration=" +
        std::to_string(kPhotos) + " -vf noise=alls=12:allf=t -q:v 3 -start_number 1 " +
        quoted((folder / "photo%03d.jpg").string());
    if (std::system(command.c_str()) != 0) return false;
    for (const std::string& p : paths)
        if (!fs::exists(p)) return false;
    return true;
}

// vipsthumbnail on all photos in one process; seconds, or a negative value when it failed.
double vipsSeconds(const std::vector<std::string>& photos, const fs::path& out) {
    fs::remove_all(out);
    fs::create_directories(out);
    std::string command = "vipsthumbnail -s 96x72 -o " + quoted((out / "%s.jpg").string());
    for (const std::string& p : photos) command += " " + quoted(p);
    const auto t0 = std::chrono::steady_clock::now();
    const int rc = std::system(command.c_str());
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (rc != 0) return -1;
    int made = 0;
    for (const auto& e : fs::directory_iterator(out)) made += e.is_regular_file() ? 1 : 0;
    return made == static_cast<int>(photos.size()) ? s : -1;
}

struct OurTimes {
    double listed = -1;  // the list holds every photo and has been painted
    double filled = -1;  // every thumbnail is in
};

// A fresh property view and thumbnail cache on the picture tab of the library in the start
// folder.
OurTimes ourSeconds(int photos) {
    using namespace brightline;
    using namespace brightline::ui;
    RecordingMessages messages;
    ThumbnailService thumbnails;
    CPropertyView view(kTabAreaFormat, thumbnails, messages);
    view.resize(420, 700);
    view.show();
    QApplication::processEvents();
    OurTimes times;
    QElapsedTimer clock;
    clock.start();
    view.setCurrentTab(kTabPicture);
    QApplication::processEvents();
    if (view.list()->count() != photos) return times;
    times.listed = clock.nsecsElapsed() / 1e9;
    while (thumbnails.pending() > 0) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        if (clock.elapsed() > 600000) return times;  // ten minutes: something is wrong
    }
    QApplication::processEvents();
    times.filled = clock.nsecsElapsed() / 1e9;
    if (!messages.messages().empty()) {
        std::fprintf(stderr, "the view said: %s\n", messages.messages().back().text.c_str());
        times.filled = -1;
    }
    return times;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const fs::path folder = argc > 2 ? fs::path(argv[2]) : fs::path(BENCH_PHOTO_CACHE);
    std::vector<std::string> photos;
    if (!ensurePhotos(folder, photos)) {
        std::fprintf(stderr, "could not make the photos with ffmpeg in %s\n", folder.c_str());
        return 1;
    }

    std::string tmpl = (fs::temp_directory_path() / "bl-bench-thumbs-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path scratch = tmpl;
    brightline::setStartFolder(scratch.string());
    if (!brightline::saveLibrary((scratch / "RC_IMG.ZRC").string(), photos)) {
        std::fprintf(stderr, "could not write the picture library\n");
        fs::remove_all(scratch);
        return 1;
    }

    double bestVips = 1e9, bestListed = 1e9, bestFilled = 1e9;
    bool ok = true;
    for (int r = 0; r < rounds && ok; ++r) {
        const double vips = vipsSeconds(photos, scratch / "vips");
        const OurTimes ours = ourSeconds(kPhotos);
        if (vips < 0) std::fprintf(stderr, "vipsthumbnail failed\n");
        if (ours.listed < 0 || ours.filled < 0) std::fprintf(stderr, "our thumbnails failed\n");
        ok = vips >= 0 && ours.listed >= 0 && ours.filled >= 0;
        if (!ok) break;
        std::printf("round %d: vipsthumbnail %.2f s, ours listed %.3f s, filled %.2f s\n", r + 1,
                    vips, ours.listed, ours.filled);
        std::fflush(stdout);
        bestVips = std::min(bestVips, vips);
        bestListed = std::min(bestListed, ours.listed);
        bestFilled = std::min(bestFilled, ours.filled);
    }
    fs::remove_all(scratch);
    if (!ok) return 1;
    std::printf("%d photos of 4000 x 3000, thumbnails of 96 x 72, best of %d rounds\n", kPhotos,
                rounds);
    std::printf("  property view: listed after %.3f s, every thumbnail filled after %.2f s\n",
                bestListed, bestFilled);
    std::printf("  vipsthumbnail (one process): %.2f s\n", bestVips);
    std::printf("  ratio fill / vipsthumbnail: %.2f (target at most 1.50)\n",
                bestFilled / bestVips);
    return 0;
}
