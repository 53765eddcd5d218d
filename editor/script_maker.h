#pragma once
// Make: turns the open program into the show the engine plays and the sign receives, in the
// workspace folder: "run.at", one region script per area window ("70001.shw") and every medium
// converted or copied under its media name ("70001001.JPG").
//
// Make runs on whatever thread calls it (the desktop runs it on a worker thread); it touches no
// window. Progress goes to the status callback ("Making ...", "Making : <file>", "Transforming...
// <path>" while a Flash movie is converted, "Make finish"),
// problems the operator must hear of go to OperatorMessages, and the cancel flag is checked before
// every area and every element (and handed to a running clip conversion). Media are converted on
// every core when the media export allows it (a cancel lets each worker finish the medium it
// holds); names, scripts and the export cache come out as if made one after another, and
// statuses and messages follow the elements in order, from the calling thread. A separate
// conversion stop flag ends clip conversions only: the clip keeps what was converted and Make goes
// on to write every script (the preview's Stop).
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "common/operator_messages.h"
#include "common/time_zone.h"
#include "editor/media_export.h"
#include "editor/program_data.h"

namespace brightline {

inline constexpr const char* kMakingText = "Making ...";
inline constexpr const char* kMakingFileText = "Making : %s";
inline constexpr const char* kMakeFinishText = "Make finish";
// Shown, followed by a space and the movie's path, while a Flash movie is drawn into a clip.
inline constexpr const char* kTransformingText = "Transforming...";

class ScriptMaker {
  public:
    // All references are borrowed and must outlive the maker. `program` is changed: a non-empty
    // background gets hold 0 and speed 0, as the sign expects.
    ScriptMaker(ProgramData& program, std::string workspace, MediaExport& media,
                OperatorMessages& messages);

    void setTimeZone(const TimeZoneInfo& zone) { zone_ = zone; }
    void setStatusCallback(std::function<void(const std::string&)> status) {
        status_ = std::move(status);
    }
    // The flag Make watches; nullptr (the default) means it cannot be cancelled.
    void setCancelFlag(const std::atomic<bool>* cancel) { cancel_ = cancel; }
    // The flag handed to clip conversions instead of the cancel flag; whoever sets the cancel
    // flag sets this one too. nullptr (the default): conversions watch the cancel flag.
    void setConversionStopFlag(const std::atomic<bool>* stop) { conversionStop_ = stop; }

    // Make(program number, append, first digit) → the number of media handled (converted,
    // exported or found in the export cache); 0 when cancelled or failed. Program number -1
    // counts as 0. Not appending, the workspace is emptied first (a folder that is no workspace
    // is refused, see cleanWorkspace()) and run.at gets the header; appending adds the RUN line to
    // the run.at the schedule compiler started. Every script is written whole (common/file_io.h):
    // one that cannot be written fails Make with a message, and failed() says so. A medium that
    // cannot be made is reported and Make goes on, as the sign's tools did.
    int make(int programNumber, bool append, int firstDigit);
    // Whether the last Make failed (the workspace refused, a script not written), and why.
    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }

    // Media are made by up to this many threads at once when the media export is concurrent;
    // 0 (the default): one per core.
    void setWorkers(unsigned workers) { workers_ = workers; }

  private:
    // One medium to convert, export or copy, and what came of it.
    struct MediaJob {
        enum Kind { Picture, Copy, Video, Flash, TextPage } kind = Picture;
        size_t element = 0;  // in the order Make meets the elements
        std::string source, target;
        int width = 0, height = 0;
        bool started = false;
        bool ok = false;  // pictures and copies
        int count = 0;    // frames or pages of a clip
        std::string error;
    };
    // The export as designed, taking the result of `job` (null: exporting now).
    std::string exportPicture(const std::string& source, const std::string& name, int width,
                              int height, const MediaJob* job);
    void runJob(MediaJob& job, const std::atomic<bool>& conversionCancel);
    // Runs the jobs in order, on every core when the media export allows; no job starts once
    // cancelled. Returns how many started (a prefix of `jobs`).
    size_t runJobs(std::vector<MediaJob>& jobs, const std::vector<std::string>& fileNames,
                   const std::atomic<bool>& conversionCancel);
    void warn(const std::string& text);
    // Warns, remembers the first failure and returns false.
    bool fail(const std::string& text);
    // Writes a whole script (OEM bytes); false (after fail()) when it cannot be written.
    bool writeScript(const std::string& path, const std::string& text);
    bool cancelled() const { return cancel_ && cancel_->load(); }
    void status(const std::string& text);

    ProgramData& program_;
    std::string workspace_;
    MediaExport& media_;
    OperatorMessages& messages_;
    TimeZoneInfo zone_;
    std::function<void(const std::string&)> status_;
    const std::atomic<bool>* cancel_ = nullptr;
    const std::atomic<bool>* conversionStop_ = nullptr;
    std::atomic<bool> neverCancelled_{false};
    std::vector<std::string> cache_;
    std::string error_;
    unsigned workers_ = 0;
};

}  // namespace brightline
