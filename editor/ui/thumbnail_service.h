#pragma once
// Thumbnails without blocking the interface: each is made on a small pool of worker threads
// (editor/thumbnail_maker), kept per file (path, size, modification time) and size asked for,
// and announced on the user interface thread with `ready`. A file that changed on disk is made
// again; one that cannot be read gets an entry marked failed, for which the views draw a fixed
// picture.
//
// The workers own their requests; results come back as queued calls on this object, so a
// result that arrives after it is gone is dropped. Destroying the service drops the queued
// requests and waits for the ones running (each is one file). All members are called on the
// user interface thread.
#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QSize>
#include <QThreadPool>
#include <map>
#include <memory>
#include <string>
#include <tuple>

namespace brightline {
class FontTable;
}

namespace brightline::ui {

class ThumbnailService : public QObject {
    Q_OBJECT
  public:
    struct Entry {
        QImage image;      // the size asked for; null when failed
        QSize sourceSize;  // the medium's own size, when known
        bool failed = false;
        QString error;
    };

    // Loads the bitmap fonts clock pages are drawn with (from the start and program folders).
    explicit ThumbnailService(QObject* parent = nullptr);
    ~ThumbnailService() override;

    // The thumbnail of `path` at `size` if it is made for the file as it is now, else null; the
    // first such call queues the work and `ready` follows.
    const Entry* find(const QString& path, QSize size);
    // Clock pages are drawn on a face of the sign's size; a new size makes them again.
    void setClockFace(QSize size);
    // Requests queued or running.
    int pending() const { return pending_; }

  signals:
    void ready(const QString& path, QSize size);

  private:
    using Key = std::tuple<std::string, int, int>;
    struct Slot {
        int64_t fileSize = -1;
        int64_t modified = -1;
        int generation = 0;
        bool waiting = false;
        Entry entry;
    };
    void queue(const Key& key, Slot& slot);
    void arrived(const Key& key, int generation, Entry entry);

    std::map<Key, Slot> slots_;
    QThreadPool pool_;
    std::shared_ptr<const FontTable> fonts_;
    QSize clockFace_{256, 128};
    int generation_ = 0;
    int pending_ = 0;
};

// What a view draws for the medium at `path` at `size`: its thumbnail when made, the fixed
// picture of its kind when it cannot be read (the clock picture for a clock page, the Flash
// picture for a movie, the placeholder otherwise), the loading picture while it is made.
QPixmap mediumPicture(ThumbnailService& thumbnails, const std::string& path, QSize size);

}  // namespace brightline::ui
