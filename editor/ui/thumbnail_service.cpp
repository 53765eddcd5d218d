#include "editor/ui/thumbnail_service.h"

#include <sys/stat.h>

#include <QMetaObject>

#include "common/folders.h"
#include "common/ui/qt_text.h"
#include "editor/medium_kind.h"
#include "editor/thumbnail_maker.h"
#include "editor/ui/fixed_images.h"
#include "engine/fonts/font_table.h"

namespace brightline::ui {

namespace {

QImage toImage(const media::Picture& picture) {
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    for (int y = 0; y < picture.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < picture.width; ++x) row[x] = 0xFF000000u | picture.at(x, y);
    }
    return image;
}

}  // namespace

ThumbnailService::ThumbnailService(QObject* parent) : QObject(parent) {
    pool_.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    auto fonts = std::make_shared<FontTable>();
    fonts->loadBuiltIn(startFolder(), programFolder(), [](const std::string&) {});
    fonts_ = std::move(fonts);
}

ThumbnailService::~ThumbnailService() {
    pool_.clear();
    pool_.waitForDone();
}

void ThumbnailService::setClockFace(QSize size) {
    if (size == clockFace_) return;
    clockFace_ = size;
    for (auto& [key, slot] : slots_)
        if (mediumKindOf(std::get<0>(key)) == MediumKind::ClockPage) slot.fileSize = -2;
}

const ThumbnailService::Entry* ThumbnailService::find(const QString& path, QSize size) {
    const Key key{ss(path), size.width(), size.height()};
    struct stat st {};
    const bool exists = ::stat(std::get<0>(key).c_str(), &st) == 0;
    const int64_t fileSize = exists ? int64_t(st.st_size) : -1;
    const int64_t modified =
        exists ? int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec : -1;
    Slot& slot = slots_[key];
    if (slot.fileSize != fileSize || slot.modified != modified) {
        slot.fileSize = fileSize;
        slot.modified = modified;
        slot.entry = Entry();
        queue(key, slot);
        return nullptr;
    }
    return slot.waiting ? nullptr : &slot.entry;
}

void ThumbnailService::queue(const Key& key, Slot& slot) {
    slot.generation = ++generation_;
    if (!slot.waiting) ++pending_;
    slot.waiting = true;
    ThumbnailRequest request;
    request.path = std::get<0>(key);
    request.width = std::get<1>(key);
    request.height = std::get<2>(key);
    request.faceWidth = clockFace_.width();
    request.faceHeight = clockFace_.height();
    const int generation = slot.generation;
    std::shared_ptr<const FontTable> fonts = fonts_;
    pool_.start([this, key, request, generation, fonts] {
        const ThumbnailResult result = makeThumbnail(request, fonts.get());
        Entry entry;
        entry.failed = !result.ok;
        entry.error = qs(result.error);
        if (result.ok) entry.image = toImage(result.picture);
        entry.sourceSize = QSize(result.sourceWidth, result.sourceHeight);
        QMetaObject::invokeMethod(
            this, [this, key, generation, entry] { arrived(key, generation, entry); },
            Qt::QueuedConnection);
    });
}

void ThumbnailService::arrived(const Key& key, int generation, Entry entry) {
    auto it = slots_.find(key);
    if (it == slots_.end() || it->second.generation != generation) return;  // asked again since
    Slot& slot = it->second;
    slot.waiting = false;
    slot.entry = std::move(entry);
    --pending_;
    emit ready(QString::fromStdString(std::get<0>(key)), QSize(std::get<1>(key), std::get<2>(key)));
}

QPixmap mediumPicture(ThumbnailService& thumbnails, const std::string& path, QSize size) {
    const ThumbnailService::Entry* entry = thumbnails.find(qs(path), size);
    QPixmap fixed;
    if (!entry) {
        fixed = loadingImage();
    } else if (!entry->failed) {
        return QPixmap::fromImage(entry->image);
    } else {
        switch (mediumKindOf(path)) {
            case MediumKind::ClockPage:
                fixed = clockImage();
                break;
            case MediumKind::Flash:
                fixed = flashImage();
                break;
            default:
                fixed = placeholderImage();
                break;
        }
    }
    return fixed.size() == size
               ? fixed
               : fixed.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace brightline::ui
