#pragma once
// How Make turns one source medium into a file of the show. The real implementation decodes and
// scales with the engine's codecs and FFmpeg and draws Flash movies with our own renderer; tests
// may substitute their own.
//
// Implementations are called from the thread that runs Make, or, when concurrent() says so, from
// several of Make's worker threads at once (one medium each); `cancel` may be set from any thread
// and must end a running conversion soon (within one frame).
#include <atomic>
#include <functional>
#include <string>

namespace brightline {

// Frames done of frames total.
using ConversionProgress = std::function<void(int done, int total)>;

class MediaExport {
  public:
    virtual ~MediaExport() = default;

    // True when every member may run on several threads at once (each call on its own medium);
    // Make then converts on every core. The default: one call at a time.
    virtual bool concurrent() const { return false; }

    // Writes `source` (".BMP", ".JPG", ".PNG") scaled to exactly width x height into `target`:
    // PNG when the target ends in ".PNG", JPEG otherwise. Grey mode turns every pixel grey.
    // False with `error` set when the picture cannot be read or the target cannot be written.
    virtual bool exportPicture(const std::string& source, const std::string& target, int width,
                               int height, std::string& error) = 0;
    // Converts a video clip into a ZVI clip of width x height; the number of frames written,
    // 0 or -1 (with `error` set) when it could not be converted.
    virtual int convertVideo(const std::string& source, const std::string& target, int width,
                             int height, const std::atomic<bool>& cancel,
                             const ConversionProgress& progress, std::string& error) = 0;
    // Converts a Flash movie (".SWF") into a ZVI clip of width x height: the number of frames
    // captured, 0 or -1 (with `error` set) when it could not be converted. The default converts
    // nothing and returns -1 (for stand-ins that never meet a Flash movie).
    virtual int convertFlash(const std::string& source, const std::string& target, int width,
                             int height, const std::atomic<bool>& cancel,
                             const ConversionProgress& progress, std::string& error) {
        error = source + ": Flash movies are not converted here";
        return -1;
    }
    // Converts a text page (".ZRT") into a ZVI clip: the number of pages written, 0 for a wrong
    // mark or version, -1 when the header cannot be read or the clip cannot be made (`error`
    // says why whenever the result is below 1).
    virtual int convertTextPage(const std::string& source, const std::string& target,
                                std::string& error) = 0;
};

}  // namespace brightline
