#pragma once
// What the authoring tests share (also the main window's): real media in the four resource
// libraries, the moves of a person (a property entry's drag data dropped on a view at a point,
// with the drag events Qt sends), and AuthoringTest: a program frame on a new 128 x 64 program.
#include <QApplication>
#include <QDragEnterEvent>
#include <QListWidget>
#include <QMimeData>
#include <QScrollBar>
#include <memory>

#include "editor/element_list.h"
#include "editor/program_list_geometry.h"
#include "editor/resource_library.h"
#include "editor/tests/test_media.h"
#include "editor/ui/item_view.h"
#include "editor/ui/program_layout_view.h"
#include "editor/ui/program_list_view.h"
#include "editor/ui/property_view.h"
#include "editor/ui/tests/frame_fixture.h"
#include "editor/ui/thumbnail_service.h"
#include "editor/ui/timeline_view.h"

namespace brightline::ui::testing {

// Real media in `folder` and the four libraries of the start folder `folder` listing them:
// pictures "Red Shop.JPG" and "blue.png" (with "missing.jpg", a file that does not exist,
// between them in the library), clips "clip.AVI" and "movie.mp4", the text page "prices.ZRT",
// the clock page "town.TIM". False when a file could not be made.
inline bool writeAuthoringLibraries(const std::string& folder) {
    auto path = [&](const std::string& name) { return folder + "/" + name; };
    QImage red(64, 48, QImage::Format_RGB32);
    red.fill(QColor(220, 30, 30));
    QImage blue(40, 40, QImage::Format_RGB32);
    blue.fill(QColor(30, 60, 220));
    return red.save(qs(path("Red Shop.JPG"))) && blue.save(qs(path("blue.png"))) &&
           testkit::solidMedium(path("clip.AVI"), 0x20E020, 64, 48, true) &&
           testkit::solidMedium(path("movie.mp4"), 0xE0E020, 64, 48, true) &&
           writeFileAtomically(path("prices.ZRT"), testkit::textPageBytes(64, 32, 0xC020C0)) &&
           testkit::writeText(path("town.TIM"), testkit::clockPageText()) &&
           saveLibrary(path("RC_IMG.ZRC"),
                       {path("Red Shop.JPG"), path("missing.jpg"), path("blue.png")}) &&
           saveLibrary(path("RC_AVI.ZRC"), {path("clip.AVI"), path("movie.mp4")}) &&
           saveLibrary(path("RC_ZTXT.ZRC"), {path("prices.ZRT")}) &&
           saveLibrary(path("RC_ZTIME.ZRC"), {path("town.TIM")});
}

// The drag data of entry `entry` on property tab `tab`, as the list hands it to a drag.
inline std::unique_ptr<QMimeData> propertyEntry(CPropertyView& property, int tab, int entry) {
    property.setCurrentTab(tab);
    QListWidget* list = property.list();
    EXPECT_LT(entry, list->count()) << "tab " << tab;
    return std::unique_ptr<QMimeData>(list->model()->mimeData({list->model()->index(entry, 0)}));
}

// Drags `mime` into `target` (a view's viewport), moves over `at` and drops there; true when
// the drop was taken.
inline bool dropOn(QWidget* target, const QMimeData* mime, QPoint at) {
    QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, mime, Qt::LeftButton, {});
    QApplication::sendEvent(target, &move);
    if (!move.isAccepted()) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(target, &leave);
        return false;
    }
    QDropEvent dropped(QPointF(at), Qt::CopyAction, mime, Qt::LeftButton, {});
    QApplication::sendEvent(target, &dropped);
    return dropped.isAccepted();
}

// The centre of a rectangle of the item view (content coordinates) in its viewport.
inline QPoint itemViewPoint(const CProgram_Menu_view& view, const Rect& r) {
    return QPoint((r.left + r.right) / 2 - view.horizontalScrollBar()->value(),
                  (r.top + r.bottom) / 2);
}

class AuthoringTest : public FrameTest {
  protected:
    AuthoringTest() {
        writeSignList(128, 64);
        EXPECT_TRUE(writeAuthoringLibraries(dir_));
        frame_ = openFrame(path("show.ZPF"), true);
        frame_->resize(1100, 760);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
        EXPECT_TRUE(frame_->save());
        expected_ = programData();
    }
    ~AuthoringTest() override {
        if (frame_) frame_->close();
    }

    CPropertyView* property() const { return frame_->propertyView(); }
    CProgram_Menu_view* items() const { return frame_->programList()->itemView(); }
    CProgram_Menu_Time_view* timeline() const { return frame_->programList()->timelineView(); }
    CProgram_Layout_view* layout() const { return frame_->layoutView(); }

    std::unique_ptr<QMimeData> entry(int tab, int entry) {
        return propertyEntry(*property(), tab, entry);
    }
    static bool drop(QWidget* target, const QMimeData* mime, QPoint at) {
        return dropOn(target, mime, at);
    }
    // The centre of element `index`'s card and of item k's exit box, in the item view's viewport.
    QPoint card(int index) const { return itemViewPoint(*items(), itemCardRect(index)); }
    QPoint exitBox(int k) const { return itemViewPoint(*items(), exitBoxRect(k)); }

    std::vector<uint8_t> saved() const {
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(readWholeFile(path("show.ZPF"), bytes));
        return bytes;
    }
    // The file holds the expected program, byte for byte.
    void expectSaved(const char* what) const {
        EXPECT_EQ(saved(), encodeProgram(expected_)) << what;
    }
    bool thumbnailsDone() {
        return waitFor([&] { return frame_->thumbnails().pending() == 0; });
    }

    std::unique_ptr<CProgramFrame> frame_;
    ProgramData expected_;
};

}  // namespace brightline::ui::testing
