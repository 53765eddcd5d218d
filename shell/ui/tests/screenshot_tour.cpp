// Takes the desktop's screenshots for docs/screenshots: the main window, the program frame with
// a three-area program during its preview, the logon dialog and the user dialog, then a program
// of three areas with several items each: its item view, its timeline and each tab of the
// property view with the four resource libraries filled. Run under a real X server (Xvfb):
// screenshot_tour OUTPUT_FOLDER. Everything happens in a scratch folder.
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "comm/led_set_data.h"
#include "common/file_io.h"
#include "common/folders.h"
#include "common/profile.h"
#include "editor/element_list.h"
#include "editor/program_data.h"
#include "editor/resource_library.h"
#include "editor/tests/test_media.h"
#include "editor/ui/item_view.h"
#include "editor/ui/preview_window.h"
#include "editor/ui/program_frame.h"
#include "editor/ui/program_layout_view.h"
#include "editor/ui/program_list_view.h"
#include "editor/ui/property_view.h"
#include "editor/ui/thumbnail_service.h"
#include "shell/ui/edit_user_dialog.h"
#include "shell/ui/logon_dialog.h"
#include "shell/ui/main_frame.h"
#include "shell/user_info.h"

using namespace brightline;
using namespace brightline::ui;

namespace {

// A picture with a colour ramp and a word on it.
void makePicture(const QString& path, int width, int height, QColor from, QColor to,
                 const QString& word) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient ramp(0, 0, width, height);
    ramp.setColorAt(0, from);
    ramp.setColorAt(1, to);
    p.fillRect(image.rect(), ramp);
    QFont font("DejaVu Sans");
    font.setPixelSize(std::max(10, height / 4));
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(image.rect(), Qt::AlignCenter, word);
    p.end();
    image.save(path);
}

// The whole screen, so that windows over windows show as the operator sees them.
bool shoot(const QString& file) {
    QApplication::processEvents();
    QScreen* screen = QGuiApplication::primaryScreen();
    QPixmap shot = screen->grabWindow(0);
    const bool ok = shot.save(file);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(file));
    return ok;
}

// An element of `path` with its library position, effects and hold.
CElement item(const QString& path, int thumbIndex, int moveIn, int moveOut, int hold) {
    CElement e = droppedItem(path.toStdString(), thumbIndex);
    e.moveIn = moveIn;
    e.moveOut = moveOut;
    e.hold = hold;
    return e;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: screenshot_tour OUTPUT_FOLDER\n");
        return 2;
    }
    const QString out = QDir(argv[1]).absolutePath();
    QDir().mkpath(out);
    QTemporaryDir scratch;
    const std::string dir = scratch.path().toStdString();
    QDir::setCurrent(scratch.path());
    qputenv("BRIGHTLINE_WORKSPACE", QByteArray::fromStdString(dir + "/BRIGHTLINE_TMP"));
    setAppProfilePath(dir + "/Brightline II.ini");

    SignList signs;
    CLED_Set_Data sign;
    sign.name = "Sample LED";
    sign.width = 256;
    sign.height = 128;
    signs.signs = {sign};
    saveSignList(dir + "/LED_SET.ZRC", signs);
    saveUsers(dir + "/UserInfo.dat",
              {{"admin", hashPassword("admin")}, {"operator", hashPassword("op")}});

    // 1. The logon dialog as the program starts.
    {
        std::vector<CUserInfo> users;
        loadUsers(dir + "/UserInfo.dat", users);
        ConsoleMessages messages;
        CLogonDialog logon(users, messages, "admin", true);
        logon.show();
        logon.move(480, 300);
        QTest::qWait(300);
        logon.passwordEdit()->setText("admin");
        if (!shoot(out + "/logon.png")) return 1;
    }

    // 2. The main window on its first start, with the getting-started guide.
    CMainFrame frame;
    frame.setGeometry(0, 0, 1280, 800);
    frame.show();
    if (frame.guide()) frame.guide()->move(470, 260);
    QTest::qWait(500);
    if (!shoot(out + "/main-window.png")) return 1;
    if (frame.guide()) frame.guide()->close();

    // 3. The user dialog (Set > Create/Edit User).
    {
        ConsoleMessages messages;
        CEditUserDialog users(dir + "/UserInfo.dat", appProfile(), messages, "admin", &frame);
        users.show();
        users.move(470, 250);
        QTest::qWait(300);
        if (!shoot(out + "/edit-user.png")) return 1;
    }

    // 4. A three-area program (format 9) during its preview.
    const QString pics = scratch.path();
    makePicture(pics + "/left.png", 128, 128, QColor(200, 30, 30), QColor(240, 160, 0), "OPEN");
    makePicture(pics + "/top.png", 128, 64, QColor(20, 60, 200), QColor(0, 180, 220), "SALE");
    makePicture(pics + "/bottom.png", 128, 64, QColor(10, 130, 40), QColor(160, 220, 40), "-50%");
    ProgramData program;
    program.ledWidth = 256;
    program.ledHeight = 128;
    program.areaFormat = 9;
    program.resetToDefaultElements();
    program.areaLists[0][0].path = (pics + "/left.png").toStdString();
    program.areaLists[1][0].path = (pics + "/top.png").toStdString();
    program.areaLists[2][0].path = (pics + "/bottom.png").toStdString();
    for (int slot = 0; slot < 3; ++slot)
        program.areaLists[static_cast<size_t>(slot)][0].thumbIndex = slot;
    applyAreaFormat(9, 256, 128, program.regionLines);
    saveProgram(dir + "/shop.ZPF", program);
    frame.openFile(dir + "/shop.ZPF");
    CProgramFrame* programFrame = frame.programFrame();
    if (!programFrame) return 1;
    QTest::qWait(400);
    if (!shoot(out + "/program-frame.png")) return 1;
    CProgram_Layout_view* view = programFrame->layoutView();
    view->play();
    if (!QTest::qWaitFor(
            [&] {
                return frame.session().preview() && frame.session().preview()->framesShown() > 10;
            },
            20000)) {
        std::fprintf(stderr, "the preview showed no frames\n");
        return 1;
    }
    QTest::qWait(300);
    if (!shoot(out + "/program-preview.png")) return 1;
    view->stop();

    // 5. Authoring: the four libraries filled, a program of three areas with several items each.
    makePicture(pics + "/coffee.jpg", 160, 120, QColor(90, 50, 20), QColor(220, 170, 90), "COFFEE");
    makePicture(pics + "/tea.jpg", 160, 120, QColor(20, 110, 40), QColor(190, 230, 120), "TEA");
    makePicture(pics + "/cake.png", 160, 120, QColor(200, 60, 140), QColor(250, 200, 220), "CAKE");
    const std::string clip = dir + "/welcome.mp4";
    const std::string pattern =
        "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "
        "testsrc2=size=160x120:rate=25:duration=2 -pix_fmt yuv420p '" +
        clip + "'";
    if (std::system(pattern.c_str()) != 0) {
        std::fprintf(stderr, "could not make the clip with ffmpeg\n");
        return 1;
    }
    const std::string bars = dir + "/bars.mkv";
    const std::string barsCommand =
        "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "
        "smptebars=size=160x120:rate=25:duration=2 '" +
        bars + "'";
    if (std::system(barsCommand.c_str()) != 0) return 1;
    const std::string page = dir + "/prices.ZRT";
    const std::string clock = dir + "/clock.TIM";
    if (!writeFileAtomically(page, testkit::textPageBytes(128, 64, 0xF0C000)) ||
        !testkit::writeText(clock, testkit::clockPageText()))
        return 1;
    const auto picture = [&](const char* name) { return (pics + "/" + name).toStdString(); };
    saveLibrary(dir + "/RC_IMG.ZRC",
                {picture("left.png"), picture("top.png"), picture("bottom.png"),
                 picture("coffee.jpg"), picture("tea.jpg"), picture("cake.png")});
    saveLibrary(dir + "/RC_AVI.ZRC", {clip, bars});
    saveLibrary(dir + "/RC_ZTXT.ZRC", {page});
    saveLibrary(dir + "/RC_ZTIME.ZRC", {clock});
    ProgramData menu;
    menu.ledWidth = 256;
    menu.ledHeight = 128;
    menu.areaFormat = 9;
    menu.resetToDefaultElements();
    applyAreaFormat(9, 256, 128, menu.regionLines);
    takeAsBackground(menu.areaLists[0][0], picture("left.png"), 0);
    appendElement(menu, item(pics + "/coffee.jpg", 3, 1, 5, 60), 0);
    appendElement(menu, item(qs(clip), 0, 0, 0, 40), 0);
    appendElement(menu, item(pics + "/tea.jpg", 4, 7, 12, 90), 0);
    appendElement(menu, item(qs(page), 0, 3, 2, 120), 0);
    takeAsBackground(menu.areaLists[1][0], picture("top.png"), 1);
    appendElement(menu, item(pics + "/cake.png", 5, 2, 9, 150), 1);
    appendElement(menu, item(qs(bars), 1, 4, 6, 30), 1);
    appendElement(menu, item(qs(clock), 0, 0, 0, 180), 1);
    takeAsBackground(menu.areaLists[2][0], picture("bottom.png"), 2);
    appendElement(menu, item(qs(page), 0, 11, 3, 200), 2);
    appendElement(menu, item(pics + "/tea.jpg", 4, 20, 30, 100), 2);
    saveProgram(dir + "/menu.ZPF", menu);
    frame.openFile(dir + "/menu.ZPF");
    programFrame = frame.programFrame();
    if (!programFrame) return 1;
    auto settle = [&] {
        QTest::qWaitFor([&] { return programFrame->thumbnails().pending() == 0; }, 20000);
        QTest::qWait(300);
    };
    programFrame->layoutView()->selectArea(0);
    programFrame->programList()->itemView()->selectElement(1);
    settle();
    if (!shoot(out + "/program-items.png")) return 1;
    programFrame->programList()->showTab(1);
    settle();
    if (!shoot(out + "/program-timeline.png")) return 1;
    programFrame->programList()->showTab(0);
    // The item view shows on the "Area Format" tab; the other six tabs each.
    const char* tabs[] = {"", "move-in", "move-out", "picture", "video", "text-page", "clock-page"};
    for (int tab = 1; tab < 7; ++tab) {
        programFrame->propertyView()->setCurrentTab(tab);
        settle();
        if (!shoot(out + "/property-" + tabs[tab] + ".png")) return 1;
    }
    frame.close();
    return 0;
}
