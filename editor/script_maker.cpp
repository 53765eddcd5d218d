#include "editor/script_maker.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "common/code_page.h"
#include "common/effect_names.h"
#include "common/file_io.h"
#include "common/folders.h"
#include "common/media_names.h"
#include "common/paths.h"
#include "common/text_format.h"
#include "editor/area_format.h"
#include "editor/medium_kind.h"

namespace brightline {
namespace {

// A script being written: its text is kept until it is closed, then written to its file whole.
struct ScriptText {
    std::string path;
    std::string text;  // in the OEM code page
    bool open = false;
    void add(const std::string& line) {
        if (open) text += toOem(line);
    }
};

// The line that plays a clip: media name, frame count, speed, entry and exit effect, hold.
std::string zaviLine(const std::string& name, int frames, int speed, const std::string& entry,
                     const std::string& exit, int hold) {
    return formatText("ZAVI %s %d %d %s %s %d \r\n", name.c_str(), frames, speed, entry.c_str(),
                      exit.c_str(), hold);
}

bool copyFileIfAbsent(const std::string& from, const std::string& to, std::string& error) {
    if (fileExists(to)) {
        error = to + " already exists";
        return false;
    }
    std::vector<uint8_t> bytes;
    if (!readWholeFile(from, bytes, &error)) return false;
    return writeFileAtomically(to, bytes, &error);
}

}  // namespace

ScriptMaker::ScriptMaker(ProgramData& program, std::string workspace, MediaExport& media,
                         OperatorMessages& messages)
    : program_(program), workspace_(std::move(workspace)), media_(media), messages_(messages) {}

void ScriptMaker::status(const std::string& text) {
    if (status_) status_(text);
}

void ScriptMaker::warn(const std::string& text) {
    messages_.show(text, "Warning!", MessageIcon::Warning);
}

bool ScriptMaker::fail(const std::string& text) {
    if (error_.empty()) error_ = text;
    warn(text);
    return false;
}

bool ScriptMaker::writeScript(const std::string& path, const std::string& text) {
    std::string why;
    if (writeFileAtomically(path, std::vector<uint8_t>(text.begin(), text.end()), &why))
        return true;
    return fail("Make could not write the show: " + why);
}

std::string ScriptMaker::exportPicture(const std::string& source, const std::string& name,
                                       int width, int height, const MediaJob* job) {
    for (const std::string& entry : cache_) {
        size_t eq = entry.find('=');
        if (eq != std::string::npos && entry.compare(eq + 1, std::string::npos, source) == 0)
            return entry.substr(0, entry.find('.'));
    }
    std::string ext = extensionUpper(source);
    std::string targetExt = ext == ".BMP" ? ".PNG" : ext;
    std::string target = joinPath(workspace_, name + targetExt);
    std::string error;
    bool done;
    if (job) {
        done = job->ok;
        error = job->error;
    } else {
        // The same picture met again after its first export failed: tried again under this name.
        done = ext == ".TIM" ? copyFileIfAbsent(source, target, error)
                             : media_.exportPicture(source, target, width, height, error);
    }
    if (!done) {
        warn("Could not make " + source + ": " + error);
        return "-1";
    }
    cache_.push_back(name + targetExt + "=" + source);
    return name;
}

void ScriptMaker::runJob(MediaJob& job, const std::atomic<bool>& conversionCancel) {
    switch (job.kind) {
        case MediaJob::Picture:
            job.ok = media_.exportPicture(job.source, job.target, job.width, job.height, job.error);
            break;
        case MediaJob::Copy:
            job.ok = copyFileIfAbsent(job.source, job.target, job.error);
            break;
        case MediaJob::Video:
            job.count = media_.convertVideo(job.source, job.target, job.width, job.height,
                                            conversionCancel, ConversionProgress(), job.error);
            break;
        case MediaJob::Flash:
            job.count = media_.convertFlash(job.source, job.target, job.width, job.height,
                                            conversionCancel, ConversionProgress(), job.error);
            break;
        case MediaJob::TextPage:
            job.count = media_.convertTextPage(job.source, job.target, job.error);
            break;
    }
}

size_t ScriptMaker::runJobs(std::vector<MediaJob>& jobs, const std::vector<std::string>& fileNames,
                            const std::atomic<bool>& conversionCancel) {
    // Statuses follow the elements in order: an element's "Making : <file>" is shown once every
    // medium before it has started.
    size_t statusShown = 0;
    auto showUpTo = [&](const MediaJob& job) {
        for (; statusShown <= job.element && statusShown < fileNames.size(); ++statusShown)
            status(formatText(kMakingFileText, fileNames[statusShown].c_str()));
        if (job.kind == MediaJob::Flash) status(std::string(kTransformingText) + " " + job.source);
    };
    size_t started = 0;
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t workers =
        media_.concurrent() ? std::min<size_t>(workers_ ? workers_ : cores, jobs.size()) : 1;
    if (workers <= 1) {
        for (MediaJob& job : jobs) {
            if (cancelled()) break;
            job.started = true;
            ++started;
            showUpTo(job);
            runJob(job, conversionCancel);
        }
    } else {
        std::mutex mutex;
        std::condition_variable changed;
        size_t next = 0, done = 0;
        auto work = [&] {
            std::unique_lock<std::mutex> lock(mutex);
            // A cancel lets every worker finish the medium it holds and take no other.
            while (next < jobs.size() && !cancelled()) {
                MediaJob& job = jobs[next++];
                job.started = true;
                changed.notify_all();
                lock.unlock();
                runJob(job, conversionCancel);
                lock.lock();
                ++done;
                changed.notify_all();
            }
        };
        std::vector<std::thread> threads;
        for (size_t i = 0; i < workers; ++i) threads.emplace_back(work);
        {
            std::unique_lock<std::mutex> lock(mutex);
            for (;;) {
                while (started < next) {
                    const MediaJob& job = jobs[started++];
                    lock.unlock();
                    showUpTo(job);
                    lock.lock();
                }
                if (done == next && (next == jobs.size() || cancelled())) break;
                // The cancel flag is set from outside without a notification: look again soon.
                changed.wait_for(lock, std::chrono::milliseconds(50));
            }
        }
        for (std::thread& t : threads) t.join();
    }
    if (started == jobs.size())
        for (; statusShown < fileNames.size(); ++statusShown)
            status(formatText(kMakingFileText, fileNames[statusShown].c_str()));
    return started;
}

int ScriptMaker::make(int programNumber, bool append, int firstDigit) {
    const std::atomic<bool>& cancel =
        conversionStop_ ? *conversionStop_ : (cancel_ ? *cancel_ : neverCancelled_);
    const int program = programNumber == -1 ? 0 : programNumber;
    cache_.clear();
    error_.clear();
    status(kMakingText);
    // Held until this Make is done; appending runs under the schedule compiler's.
    std::optional<WorkspaceLock> lock;
    if (!append) {
        lock.emplace(workspace_, WorkspaceLock::Mode::Write);
        if (!lock->held()) {
            fail(lock->why());
            return 0;
        }
        std::string why;
        if (!cleanWorkspace(workspace_, &why)) {
            fail(why);
            return 0;
        }
    }
    if (!ensureFolder(workspace_)) {
        fail("Could not create the workspace folder " + workspace_);
        return 0;
    }

    const AreaLayout layout = computeAreas(program_.areaFormat, program_.ledWidth,
                                           program_.ledHeight, program_.regionLines);
    const int areaCount = std::min(layout.areaCount, kAreaSlots);

    // run.at: the header (unless appending) and this program's RUN line, written whole: appending
    // rewrites the file with the line added, so a failure leaves it as it was.
    {
        const std::string runPath = joinPath(workspace_, "run.at");
        std::string run;
        if (!append) {
            run += toOem(timeZoneHeader(zone_));
            run += toOem(formatText("LED_W %d \r\n", program_.ledWidth));
            run += toOem(formatText("LED_H %d \r\n", program_.ledHeight));
            run += toOem("AT 00:00 00:00 \r\n");
        }
        int windows = 0;
        for (int slot = 0; slot < areaCount; ++slot) {
            const auto& list = program_.areaLists[slot];
            if (list.empty()) continue;
            if (!list[0].path.empty()) ++windows;
            if (list.size() > 1) ++windows;
        }
        std::string line = formatText("RUN wzp %d ", windows);
        for (int slot = 0; slot < areaCount; ++slot) {
            const auto& list = program_.areaLists[slot];
            if (list.empty()) continue;
            const Rect& r = layout.areas[slot];
            for (int window = 0; window < 2; ++window) {
                bool present = window == 0 ? !list[0].path.empty() : list.size() > 1;
                if (!present) continue;
                line += regionScriptName(firstDigit, program, slot, window) +
                        formatText(" %d %d %d %d %d ", r.left, r.top, r.right - r.left,
                                   r.bottom - r.top, 1);
            }
        }
        line += append ? "\r\n" : "\r\nEND";
        run += toOem(line);
        std::string why;
        const std::vector<uint8_t> bytes(run.begin(), run.end());
        if (append ? !appendFileAtomically(runPath, bytes, &why)
                   : !writeFileAtomically(runPath, bytes, &why)) {
            fail("Make could not write the show: " + why);
            return 0;
        }
    }

    // The element loop runs twice: the first walk plans one job per medium to make (a picture
    // met again is made once, as the export cache says), the jobs run on every core, and the
    // second walk writes the scripts with the results, exactly as one medium after another.
    std::vector<MediaJob> jobs;
    std::vector<int> jobOf;                // per element: its job, or -1
    std::vector<std::string> fileNames;    // per element, for the status
    std::set<std::string> plannedSources;  // pictures and clock pages planned so far
    size_t firstUnrun = SIZE_MAX;          // the first element whose medium was not made
    int made = 0;
    ScriptText script;
    // Closing writes what the script holds; a script that cannot be written fails Make.
    auto close = [&](bool withEnd) {
        if (!script.open) return true;
        if (withEnd) script.add("END");
        script.open = false;
        return writeScript(script.path, script.text);
    };
    auto walk = [&](bool plan) {
        size_t e = 0;  // element number over all areas
        for (int slot = 0; slot < areaCount; ++slot) {
            if (!plan && cancelled() && e >= firstUnrun) return false;
            auto& list = program_.areaLists[slot];
            const Rect& area = layout.areas[slot];
            const int width = area.right - area.left;
            const int height = area.bottom - area.top;
            const bool hasBackground = !list.empty() && !list[0].path.empty();
            const int itemsType = hasBackground ? 2 : 1;
            int sequence = 1;
            for (size_t j = 0; j < list.size(); ++j, ++e) {
                if (!plan && cancelled() && e >= firstUnrun) {
                    close(false);  // the open script is closed as it stands
                    return false;
                }
                CElement& element = list[j];
                const int window = (j == 0 && hasBackground) ? 0 : 1;
                if (j <= 1) {
                    script = ScriptText{
                        joinPath(workspace_, regionScriptName(firstDigit, program, slot, window)),
                        std::string(), !plan};
                    sequence = 1;
                    script.add(formatText("WIN_TYPE %d\r\n", j == 0 ? 1 : itemsType));
                    if (j == 0 && hasBackground) {
                        element.hold = 0;
                        element.speed = 0;
                    }
                }
                const std::string ext = extensionUpper(element.path);
                const MediumKind kind = mediumKindOf(element.path);
                const std::string name = mediaName(firstDigit, program, slot, window, sequence);
                const bool picture =
                    ext == ".JPG" || ext == ".PNG" || ext == ".BMP" || ext == ".TIM";
                const bool clip = ext == ".ZRT" || isClip(kind);
                if (plan) {
                    fileNames.push_back(fileNameOf(element.path));
                    jobOf.push_back(-1);
                    MediaJob job;
                    job.element = e;
                    job.source = element.path;
                    job.width = width;
                    job.height = height;
                    if (element.path.empty()) {
                    } else if (isClip(kind) || ext == ".ZRT") {
                        job.kind = ext == ".ZRT"               ? MediaJob::TextPage
                                   : kind == MediumKind::Video ? MediaJob::Video
                                                               : MediaJob::Flash;
                        job.target = joinPath(workspace_, name + ".ZVI");
                    } else if (picture && plannedSources.insert(element.path).second) {
                        job.kind = ext == ".TIM" ? MediaJob::Copy : MediaJob::Picture;
                        job.target = joinPath(workspace_, name + (ext == ".BMP" ? ".PNG" : ext));
                    }
                    if (!job.target.empty()) {
                        jobOf.back() = static_cast<int>(jobs.size());
                        jobs.push_back(std::move(job));
                    }
                    if (!element.path.empty() && (clip || picture)) ++sequence;
                    continue;
                }
                const MediaJob* job = jobOf[e] >= 0 ? &jobs[size_t(jobOf[e])] : nullptr;
                if (element.path.empty()) {
                    // No medium: only the effect and hold lines below.
                } else if (isClip(kind)) {
                    const int frames = job->count;
                    if (frames <= 0 && !cancel.load())
                        warn(std::string(kind == MediumKind::Video
                                             ? "Could not convert the clip "
                                             : "Could not convert the Flash clip ") +
                             element.path + ": " + job->error);
                    script.add(zaviLine(name, frames, 0, "SHOW", "NULL", 0));
                    ++made;
                    ++sequence;
                } else if (picture) {
                    std::string media = exportPicture(element.path, name, width, height, job);
                    const char* keyword = ext == ".JPG"   ? "JPG %s \r\n"
                                          : ext == ".TIM" ? "TIME %s 1 \r\n"
                                                          : "PNG %s \r\n";
                    script.add(formatText(keyword, media.c_str()));
                    ++made;
                    ++sequence;
                } else if (ext == ".ZRT") {
                    const int pages = job->count;
                    if (pages <= 0)
                        warn("Could not convert the text page " + element.path + ": " + job->error);
                    // An item's effects and hold travel in its line; a background shows and stays.
                    const bool item = j >= 1;
                    script.add(zaviLine(
                        name, pages, element.speed, item ? entryEffectName(element.moveIn) : "SHOW",
                        item ? exitEffectName(element.moveOut) : "NULL", item ? element.hold : 0));
                    ++made;
                    ++sequence;
                } else {
                    warn(element.path +
                         " is no picture, clip, text page or clock page; it is left out.");
                }

                if (!clip && ext != ".TIM")
                    script.add(formatText("AP %s %d\r\n", entryEffectName(element.moveIn).c_str(),
                                          element.speed));
                if (!clip) script.add(formatText("STOP %d \r\n", element.hold));
                if (!clip && ext != ".TIM" && element.moveOut >= 0)
                    script.add(formatText("EP %s %d\r\n", exitEffectName(element.moveOut).c_str(),
                                          element.speed));
                if (j == 0 && !close(true)) return false;
            }
            if (!close(true)) return false;
        }
        return true;
    };
    walk(true);
    const size_t ran = runJobs(jobs, fileNames, cancel);
    // Cancelled: the scripts stop where one medium after another would have seen the flag, at the
    // element or area after the last medium made.
    if (cancelled()) firstUnrun = ran ? jobs[ran - 1].element + 1 : 0;
    if (!walk(false) || cancelled()) return 0;
    status(kMakeFinishText);
    return made;
}

}  // namespace brightline
