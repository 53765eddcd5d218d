// The property view's seven tabs: the effect lists, the libraries with their thumbnails, Add
// Resource through its file dialog, Del Resource, double clicks.
#include <QFileDialog>
#include <QTabBar>

#include "editor/ui/fixed_images.h"
#include "editor/ui/tests/authoring_fixture.h"

namespace brightline::ui {
namespace {

class PropertyViewTest : public testing::AuthoringTest {
  protected:
    QListWidget* list() const { return property()->list(); }
    QStringList texts() const {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i) out << list()->item(i)->text();
        return out;
    }
    QColor iconColour(int entry) const {
        const QImage image =
            list()->item(entry)->icon().pixmap(kThumbWidth, kThumbHeight).toImage();
        return QColor(image.pixel(kThumbWidth / 2, kThumbHeight / 2));
    }
    std::vector<std::string> library(const char* name) {
        std::vector<std::string> paths;
        loadLibrary(path(name), paths);
        return paths;
    }
};

TEST_F(PropertyViewTest, EffectTabsListTheirEffectsByName) {
    property()->setCurrentTab(kTabMoveIn);
    ASSERT_EQ(list()->count(), 45);
    EXPECT_EQ(list()->item(0)->text(), "Instant");
    EXPECT_EQ(list()->item(1)->text(), "Move left");
    EXPECT_EQ(list()->item(44)->text(), "Random");
    property()->setCurrentTab(kTabMoveOut);
    ASSERT_EQ(list()->count(), 46);
    EXPECT_EQ(list()->item(0)->text(), "No clear");
    EXPECT_EQ(list()->item(45)->text(), "Random");
    // The pictures come from the show engine's stills: "Instant" brings the striped picture in.
    EXPECT_NE(moveInImage(0).toImage(), moveInImage(1).toImage());
    EXPECT_FALSE(moveOutImage(45).isNull());
}

TEST_F(PropertyViewTest, LibrariesListTheFilesThatExistWithThumbnailsThatFillIn) {
    property()->setCurrentTab(kTabPicture);
    EXPECT_EQ(texts(), (QStringList{"Red Shop.JPG", "blue.png"}));
    ASSERT_TRUE(thumbnailsDone());
    EXPECT_GT(iconColour(0).red(), 180);
    EXPECT_GT(iconColour(1).blue(), 180);

    struct Tab {
        int tab;
        QStringList names;
        QColor colour;
    } tabs[] = {
        {kTabVideo, {"clip.AVI", "movie.mp4"}, QColor(0x20, 0xE0, 0x20)},
        {kTabTextPage, {"prices.ZRT"}, QColor(0xC0, 0x20, 0xC0)},
    };
    for (const Tab& t : tabs) {
        property()->setCurrentTab(t.tab);
        EXPECT_EQ(texts(), t.names);
        ASSERT_TRUE(thumbnailsDone());
        const QColor c = iconColour(0);
        EXPECT_NEAR(c.red(), t.colour.red(), 40) << t.tab;
        EXPECT_NEAR(c.green(), t.colour.green(), 40) << t.tab;
    }
    // A library with a wrong mark shows nothing and says so.
    ASSERT_TRUE(testkit::writeText(path("RC_ZTIME.ZRC"), "ZRQ"));
    property()->setCurrentTab(kTabClockPage);
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(lastMessage(), "RC file mark error!");
}

TEST_F(PropertyViewTest, AddResourceTakesTheChosenFilesUpToTheFirstUnreadableVideo) {
    ASSERT_TRUE(testkit::solidMedium(path("third.mkv"), 0x808080, 32, 24, true));
    ASSERT_TRUE(testkit::writeText(path("broken.avi"), "not a video"));
    property()->setCurrentTab(kTabVideo);
    property()->addResource();
    auto* dialog = property()->findChild<QFileDialog*>("addResourceDialog");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
    EXPECT_TRUE(dialog->nameFilters().first().startsWith("VIDEO File (*.AVI *.MP4 *.MOV"));
    ASSERT_TRUE(QMetaObject::invokeMethod(
        dialog, "filesSelected",
        Q_ARG(QStringList,
              (QStringList{qs(path("third.mkv")), qs(path("broken.avi")), qs(path("clip.AVI"))}))));
    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(library("RC_AVI.ZRC"),
              (std::vector<std::string>{path("clip.AVI"), path("movie.mp4"), path("third.mkv")}));
    EXPECT_EQ(lastMessage(), "File format unknown");
    EXPECT_EQ(texts(), (QStringList{"clip.AVI", "movie.mp4", "third.mkv"}));

    // On a tab without a library the operator is told where resources go.
    property()->setCurrentTab(kTabMoveIn);
    property()->addResource();
    EXPECT_EQ(property()->findChild<QFileDialog*>("addResourceDialog"), nullptr);
    EXPECT_NE(lastMessage().find("Picture, AVI, ZRT and Time"), std::string::npos);
}

TEST_F(PropertyViewTest, DeleteRemovesTheSelectedEntriesAndKeepsTheMissingFiles) {
    property()->setCurrentTab(kTabPicture);
    list()->item(0)->setSelected(true);
    QTest::keyClick(list(), Qt::Key_Delete);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readWholeFile(path("RC_IMG.ZRC"), bytes));
    EXPECT_EQ(bytes, encodeLibrary({path("missing.jpg"), path("blue.png")}));
    EXPECT_EQ(texts(), (QStringList{"blue.png"}));
    // The toolbar's "Del Resource " does the same.
    list()->item(0)->setSelected(true);
    property()->deleteResources();
    EXPECT_EQ(library("RC_IMG.ZRC"), (std::vector<std::string>{path("missing.jpg")}));
    EXPECT_EQ(list()->count(), 0);
}

TEST_F(PropertyViewTest, DoubleClicksOpenPicturesTextPagesAndClockPages) {
    QStringList opened;
    QObject::connect(frame_.get(), &CProgramFrame::openMediumRequested,
                     [&](const QString& p) { opened << p; });
    for (int tab : {kTabPicture, kTabVideo, kTabTextPage, kTabClockPage}) {
        property()->setCurrentTab(tab);
        QApplication::processEvents();  // the list lays its entries out
        QListWidgetItem* item = list()->item(0);
        const QPoint at = list()->visualItemRect(item).center();
        ASSERT_EQ(list()->itemAt(at), item) << tab;
        // A double click: the first click's press and release, then the second's.
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
        QTest::mousePress(list()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
    }
    EXPECT_EQ(opened, (QStringList{qs(path("Red Shop.JPG")), qs(path("prices.ZRT")),
                                   qs(path("town.TIM"))}));
}

TEST_F(PropertyViewTest, TheDragDataNamesTheTabTheEntryAndItsOwnPath) {
    const auto picture = propertyEntryOfDrag(entry(kTabPicture, 1).get());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->tab, kTabPicture);
    EXPECT_EQ(picture->entry, 1);
    EXPECT_EQ(picture->path, path("blue.png"));
    const auto effect = propertyEntryOfDrag(entry(kTabMoveOut, 7).get());
    ASSERT_TRUE(effect);
    EXPECT_EQ(effect->entry, 7);
    EXPECT_EQ(effect->path, "");
    QMimeData forged;
    forged.setData(kPropertyEntryMime, "3\n0\n");  // a library entry without a path
    EXPECT_FALSE(propertyEntryOfDrag(&forged));
}

}  // namespace
}  // namespace brightline::ui
