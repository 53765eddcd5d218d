// The sign dialogs the main window opens: start-up display, scan direction and LED Set.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QtTest/QTest>

#include "comm/ui/show_on_startup_dialog.h"
#include "common/profile.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/tests/virtual_sign_fixture.h"

namespace brightline::ui {
namespace {

class SignDialogsTest : public testing::VirtualSignTest {};

TEST_F(SignDialogsTest, StartUpDisplaySentThenReadBackFromTheSign) {
    CMainFrame main;
    BootParams wanted;
    wanted.show = {1, 0, 1, 0, 1, 1};
    {
        CShowOnStartupDialog dialog(main.operations(), BootParams{}, &main);
        EXPECT_EQ(dialog.windowTitle(), "Show On Startup");
        auto boxes = dialog.findChildren<QCheckBox*>();
        ASSERT_EQ(boxes.size(), 6);
        EXPECT_EQ(boxes[0]->text(), "Show sign address");
        EXPECT_EQ(boxes[2]->text(), "Show firmware version");
        for (QCheckBox* box : boxes) EXPECT_TRUE(box->isChecked());  // the profile's defaults
        boxes[1]->setChecked(false);                                 // baud rate
        boxes[4]->setChecked(false);                                 // subnet mask
        EXPECT_EQ(dialog.params(), wanted);
        QTest::mouseClick(dialog.sendButton(), Qt::LeftButton);
        EXPECT_EQ(lastMessage(), "Set show information on startup successful!\n");
        EXPECT_TRUE(dialog.confirmed());
        EXPECT_EQ(dialog.sendButton()->text(), "Send");
    }
    CShowOnStartupDialog again(main.operations(), BootParams{}, &main);
    QTest::mouseClick(again.readButton(), Qt::LeftButton);
    EXPECT_TRUE(again.confirmed());
    EXPECT_EQ(again.params(), wanted);
}

TEST_F(SignDialogsTest, ReadFailsWithTheDesignedTextWhenTheSignRefuses) {
    CMainFrame main;
    sign_->stop();  // nothing answers on the command port any more
    CShowOnStartupDialog dialog(main.operations(), BootParams{}, &main);
    dialog.readFromSign();
    EXPECT_FALSE(dialog.confirmed());
    EXPECT_EQ(
        lastMessage().rfind("Read show information on startup failed!\ncannot connect to ", 0), 0u)
        << lastMessage();
}

TEST_F(SignDialogsTest, ScanDirectionSentOverTheNetwork) {
    CMainFrame main;
    CScanTypeDialog dialog(main.operations(), &main);
    EXPECT_EQ(dialog.windowTitle(), "Set Scan type");
    dialog.setDirection(2);
    EXPECT_EQ(dialog.direction(), 2);
    QTest::mouseClick(dialog.sendButton(), Qt::LeftButton);
    EXPECT_EQ(lastMessage(), "Communication ok!");
}

}  // namespace
}  // namespace brightline::ui

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>

#include "comm/ui/led_set_dialog.h"

namespace brightline::ui {
namespace {

TEST_F(SignDialogsTest, LedSetStartsFromTheDefaultRecordAndSavesEveryChange) {
    const std::string file = path("LED_SET.ZRC");
    CommSettings current;
    current.ledName = "Sample LED";
    CLedSetDialog dialog(current, file, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "LED Set");
    // No file: the default record, saved at once.
    SignList saved;
    ASSERT_TRUE(loadSignList(file, saved));
    ASSERT_EQ(saved.signs.size(), 1u);
    EXPECT_EQ(saved.signs[0].name, "Sample LED");
    EXPECT_EQ(dialog.widthEdit()->value(), 128);
    EXPECT_EQ(dialog.portChoice()->currentText(), "LAN");

    // "<< Add" keeps a width of 130; "<< Edit" rounds it down to 128.
    dialog.nameEdit()->setText("Door");
    dialog.heightEdit()->setValue(32);
    dialog.widthEdit()->setValue(130);
    dialog.addSign();
    ASSERT_TRUE(loadSignList(file, saved));
    ASSERT_EQ(saved.signs.size(), 2u);
    EXPECT_EQ(saved.signs[1].name, "Door");
    EXPECT_EQ(saved.signs[1].width, 130);
    EXPECT_EQ(dialog.list()->currentRow(), 1);
    dialog.widthEdit()->setValue(130);
    dialog.editSign();
    EXPECT_EQ(dialog.widthEdit()->value(), 128);
    ASSERT_TRUE(loadSignList(file, saved));
    EXPECT_EQ(saved.signs[1].width, 128);

    // Typing a width the height does not allow gives the limit.
    dialog.heightEdit()->setValue(128);
    dialog.widthEdit()->setValue(999);
    EXPECT_EQ(dialog.widthEdit()->value(), 512);

    // "Del" removes the selected sign and selects the one before it.
    dialog.deleteSign();
    ASSERT_TRUE(loadSignList(file, saved));
    ASSERT_EQ(saved.signs.size(), 1u);
    EXPECT_EQ(dialog.list()->currentRow(), 0);
    EXPECT_EQ(dialog.nameEdit()->text(), "Sample LED");
}

TEST_F(SignDialogsTest, LedSetOkBecomesTheCurrentSignAndTheProfile) {
    CMainFrame main;
    CLED_Set_Data chosen = defaultSignRecord({10, 0, 0, 9}, "10.0.0.9");
    chosen.name = "Platform";
    chosen.port = 2;
    chosen.address = 7;
    chosen.mtuIndex = 6;  // none of the choices: the chunk size in force stays
    main.adoptSignSettings(chosen);
    EXPECT_EQ(main.commSettings().ledName, "Platform");
    EXPECT_EQ(appProfile().getString(kProfileSectionSet, "LED_NAME", ""), "Platform");
    EXPECT_EQ(appProfile().getInt(kProfileSectionSet, "PORT", 0), 2);
    EXPECT_EQ(appProfile().getInt(kProfileSectionSet, "ADDR", 0), 7);
    EXPECT_EQ(appProfile().getString(kProfileSectionSet, "HOST_ADDRESS", ""), "10.0.0.9");
    EXPECT_EQ(main.operations().environment().chunkSize, 1024);
    chosen.mtuIndex = 2;
    main.adoptSignSettings(chosen);
    EXPECT_EQ(main.operations().environment().chunkSize, 128);
    EXPECT_EQ(appProfile().getInt(kProfileSectionSet, "COM232_MTU", 0), 2);
}

}  // namespace
}  // namespace brightline::ui
