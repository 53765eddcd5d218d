#include "editor/ui/media_export_factory.h"

#include <QImage>
#include <QString>
#include <mutex>

namespace brightline::ui {

namespace {

// Pictures through Qt's image readers and writers; clips and text pages are not converted by
// this exporter and report failure, so Make leaves their lines out.
class PictureOnlyExport : public MediaExport {
public:
    explicit PictureOnlyExport(bool grey) : grey_(grey) {}

    bool exportPicture(const std::string& source, const std::string& target, int width, int height,
                       std::string& error) override {
        QImage image(QString::fromStdString(source));
        if (image.isNull()) {
            error = "cannot read " + source;
            return false;
        }
        image = image.convertToFormat(QImage::Format_RGB32)
                    .scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (grey_) image = image.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
        const QString out = QString::fromStdString(target);
        const bool png = out.endsWith(".PNG", Qt::CaseInsensitive);
        if (!image.save(out, png ? "PNG" : "JPG", png ? -1 : 75)) {
            error = "cannot write " + target;
            return false;
        }
        return true;
    }

    int convertVideo(const std::string&, const std::string&, int, int, const std::atomic<bool>&,
                     const ConversionProgress&) override {
        return -1;
    }

    int convertTextPage(const std::string&, const std::string&) override { return -1; }

private:
    bool grey_;
};

MediaExportFactory& factoryOverride() {
    static MediaExportFactory factory;
    return factory;
}

std::mutex factoryMutex;

}  // namespace

std::unique_ptr<MediaExport> createMediaExport(bool grey) {
    {
        std::lock_guard<std::mutex> lock(factoryMutex);
        if (factoryOverride()) return factoryOverride()(grey);
    }
    return std::make_unique<PictureOnlyExport>(grey);
}

void setMediaExportFactory(MediaExportFactory factory) {
    std::lock_guard<std::mutex> lock(factoryMutex);
    factoryOverride() = std::move(factory);
}

}  // namespace brightline::ui
