// The layout view driven with the mouse and the keyboard: size edits, dragging lines, selecting
// areas, dropping an area format from the property view.
#include <QDragEnterEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QTabBar>

#include "editor/ui/program_layout_view.h"
#include "editor/ui/property_view.h"
#include "editor/ui/tests/frame_fixture.h"

namespace brightline::ui {
namespace {

class LayoutViewTest : public testing::FrameTest {
  protected:
    LayoutViewTest() {
        writeSignList(256, 128);
        frame_ = openFrame(path("layout.ZPF"), true);
        frame_->resize(1100, 760);
        view_ = frame_->layoutView();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
    }
    // A point of the sign face in view coordinates.
    QPoint at(int x, int y) const { return view_->canvasOrigin() + QPoint(x, y); }
    void drag(QPoint from, QPoint to) {
        QTest::mousePress(view_, Qt::LeftButton, {}, from);
        QTest::mouseMove(view_, (from + to) / 2);
        QTest::mouseMove(view_, to);
        QTest::mouseRelease(view_, Qt::LeftButton, {}, to);
    }
    void type(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    int signWidthOnDisk() {
        SignList list;
        loadSignList(path("LED_SET.ZRC"), list);
        return list.signs.empty() ? -1 : list.signs[0].width;
    }
    std::unique_ptr<CProgramFrame> frame_;
    CProgram_Layout_view* view_ = nullptr;
};

TEST_F(LayoutViewTest, WidthEditKeepsTheSizeInItsLimitsAndWritesTheSignBack) {
    ASSERT_EQ(view_->faceRect().size(), QSize(256, 128));
    struct Case {
        const char* typed;
        int width;
        const char* shown;
    } cases[] = {
        {"999", 512, "512"},  // 65536 / 128, written back into the edit
        {"13", 16, "13"},     // below the minimum
        {"30", 24, "30"},     // down to a multiple of 8
        {"x", 16, "x"},       // not a number reads as 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        type(view_->widthEdit(), c.typed);
        EXPECT_EQ(programData().ledWidth, c.width);
        EXPECT_EQ(view_->widthEdit()->text(), c.shown);
        EXPECT_EQ(view_->faceRect().width(), c.width);
        EXPECT_EQ(signWidthOnDisk(), c.width);
    }
    type(view_->heightEdit(), "3");
    EXPECT_EQ(programData().ledHeight, 8);
}

TEST_F(LayoutViewTest, DraggingTheVerticalLineOfFormat8MovesTheHorizontalLinesEnd) {
    view_->applyFormat(8);
    ASSERT_EQ(view_->areaLayout().areaCount, 3);
    drag(at(128, 30), at(160, 30));
    const RegionLines& lines = programData().regionLines;
    EXPECT_EQ(lines[0].band.left, 157);
    EXPECT_EQ(lines[0].band.right, 163);
    EXPECT_EQ(lines[1].band.left, -3);
    EXPECT_EQ(lines[1].band.right, 163);
    EXPECT_EQ(lines[0].selected, 0);
    const AreaLayout& layout = view_->areaLayout();
    EXPECT_EQ(layout.areas[0], (Rect{0, 0, 160, 64}));
    EXPECT_EQ(layout.areas[1], (Rect{0, 64, 160, 128}));
    EXPECT_EQ(layout.areas[2], (Rect{160, 0, 256, 128}));
    // The program is not saved by a drag.
    EXPECT_FALSE(QFileInfo::exists(qs(path("layout.ZPF"))));
}

TEST_F(LayoutViewTest, DraggingTheBoxEdgeOfFormat3MovesTheEdgesEndingOnIt) {
    view_->applyFormat(3);
    drag(at(64, 64), at(40, 64));
    const RegionLines& lines = programData().regionLines;
    EXPECT_EQ(lines[0].band.left, 37);
    EXPECT_EQ(lines[1].band.left, 37);  // top edge: its left end follows
    EXPECT_EQ(lines[3].band.left, 37);  // bottom edge too
    EXPECT_EQ(lines[1].band.right, 195);
    EXPECT_EQ(view_->areaLayout().areas[1], (Rect{40, 32, 192, 96}));
}

TEST_F(LayoutViewTest, ALineDraggedOutsideTheFaceStaysWhereTheFaceEnds) {
    view_->applyFormat(1);
    QTest::mousePress(view_, Qt::LeftButton, {}, at(128, 30));
    QTest::mouseMove(view_, at(40, 30));
    QTest::mouseMove(view_, at(-20, 30));  // outside: no change
    QTest::mouseMove(view_, at(-60, 40));
    QTest::mouseRelease(view_, Qt::LeftButton, {}, at(-60, 40));
    EXPECT_EQ(view_->areaLayout().areas[0], (Rect{0, 0, 40, 128}));
    EXPECT_EQ(view_->areaLayout().areas[1], (Rect{40, 0, 256, 128}));
}

TEST_F(LayoutViewTest, ClicksSelectTheInnerAreaFirst) {
    view_->applyFormat(3);
    QTest::mouseClick(view_, Qt::LeftButton, {}, at(128, 64));
    EXPECT_EQ(view_->selectedArea(), 1);
    EXPECT_EQ(frame_->selectedArea(), 1);
    QTest::mouseClick(view_, Qt::LeftButton, {}, at(10, 10));
    EXPECT_EQ(view_->selectedArea(), 0);
    QTest::mouseClick(view_, Qt::LeftButton, {}, at(250, 120));
    EXPECT_EQ(view_->selectedArea(), 0);
    // Outside the face nothing changes.
    QTest::mouseClick(view_, Qt::LeftButton, {}, at(128, 64));
    QTest::mouseClick(view_, Qt::LeftButton, {}, at(-20, -20));
    EXPECT_EQ(view_->selectedArea(), 1);
}

TEST_F(LayoutViewTest, AreaFormatDroppedFromThePropertyView) {
    CPropertyView* property = frame_->propertyView();
    ASSERT_EQ(property->tabs()->count(), 7);
    EXPECT_EQ(property->tabs()->tabText(0), "Area Format");
    EXPECT_EQ(property->tabs()->tabText(6), "Time");
    QListWidget* list = property->list();
    ASSERT_EQ(list->count(), 11);
    EXPECT_EQ(list->item(10)->text(), "10");
    EXPECT_FALSE(list->item(4)->icon().isNull());

    const QModelIndex index = list->model()->index(5, 0);
    std::unique_ptr<QMimeData> mime(list->model()->mimeData({index}));
    const QPoint drop = at(100, 50);
    QDragEnterEvent enter(drop, Qt::CopyAction, mime.get(), Qt::LeftButton, {});
    QApplication::sendEvent(view_, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent dropEvent(QPointF(drop), Qt::CopyAction, mime.get(), Qt::LeftButton, {});
    QApplication::sendEvent(view_, &dropEvent);
    EXPECT_EQ(programData().areaFormat, 5);
    EXPECT_EQ(view_->areaLayout().areaCount, 3);
    EXPECT_EQ(view_->areaLayout().areas[1], (Rect{0, 42, 256, 85}));

    // An entry of another tab carries no format.
    property->setCurrentTab(1);
    std::unique_ptr<QMimeData> effect(list->model()->mimeData({list->model()->index(5, 0)}));
    EXPECT_EQ(areaFormatOfDrag(effect.get()), -1);
    QMimeData other;
    other.setText("5");
    EXPECT_EQ(areaFormatOfDrag(&other), -1);
}

}  // namespace
}  // namespace brightline::ui
