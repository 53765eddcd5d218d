// Takes the desktop's screenshots for docs/screenshots: the main window, the program frame with
// a three-area program during its preview, the logon dialog and the user dialog, then a program
// of three areas with several items each: its item view, its timeline and each tab of the
// property view with the four resource libraries filled; a schedule with the checker's findings,
// the schedule entry dialog in each kind and the clock page editor; then the sign dialogs
// (password, address, IP, modem choice and control, sending to several signs against a virtual
// sign); last the item view's context menu and a schedule's "Preview at". Run under a real X
// server (Xvfb): screenshot_tour OUTPUT_FOLDER. Everything happens in a scratch folder.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "comm/led_set_data.h"
#include "comm/modem_list.h"
#include "comm/ui/change_address_dialog.h"
#include "comm/ui/change_ip_dialog.h"
#include "comm/ui/file_list_window.h"
#include "comm/ui/ip_address_edit.h"
#include "comm/ui/led_set_dialog.h"
#include "comm/ui/modem_control_window.h"
#include "comm/ui/multi_send_window.h"
#include "comm/ui/network_fields.h"
#include "comm/ui/password_dialog.h"
#include "comm/ui/select_modem_dialog.h"
#include "comm/ui/send_to_signs_dialog.h"
#include "comm/ui/show_on_startup_dialog.h"
#include "common/file_io.h"
#include "common/folders.h"
#include "common/profile.h"
#include "common/ui/qt_text.h"
#include "editor/element_list.h"
#include "editor/program_data.h"
#include "editor/program_list_geometry.h"
#include "editor/resource_library.h"
#include "editor/tests/test_media.h"
#include "editor/ui/item_view.h"
#include "editor/ui/preview_window.h"
#include "editor/ui/program_frame.h"
#include "editor/ui/program_layout_view.h"
#include "editor/ui/program_list_view.h"
#include "editor/ui/property_view.h"
#include "editor/ui/thumbnail_service.h"
#include "engine/clock/local_time.h"
#include "engine/fonts/font_table.h"
#include "shell/clock_page_document.h"
#include "shell/schedule.h"
#include "shell/ui/clock_page_editor.h"
#include "shell/ui/edit_user_dialog.h"
#include "shell/ui/logon_dialog.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/schedule_entry_dialog.h"
#include "shell/ui/schedule_window.h"
#include "shell/user_info.h"
#include "signsim/sign_simulator.h"

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

bool takeSignSettingsShots(const QString& out, const std::string& dir, CMainFrame& frame);

}  // namespace

// Shots taken after the others, from the files the tour wrote into `dir`.
bool shootItemContextMenu(CMainFrame& frame, const std::string& dir, const QString& out);
bool shootSchedulePreview(CMainFrame& frame, const std::string& dir, const QString& out);

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
        // A thumbnail still missing after the wait shows as its placeholder.
        (void)QTest::qWaitFor([&] { return programFrame->thumbnails().pending() == 0; }, 20000);
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
    frame.closeProgram();
    QTest::qWait(200);

    // 6. A schedule of three entries and what the checker says of it: weekday mornings, the
    // weekend (a program made for a smaller sign) and a promotion on the 1st and 15th whose
    // program is missing, overlapping the mornings.
    {
        ProgramData small = program;
        small.ledWidth = 128;
        small.ledHeight = 64;
        saveProgram(dir + "/weekend.ZPF", small);
        const CivilTime today = civilFromSeconds(QDateTime::currentSecsSinceEpoch());
        auto entry = [&](const std::string& file, int kind, int fromHour, int toHour) {
            CAT_Data e = newScheduleEntry(dir + "/" + file, today);
            e.kind = kind;
            e.startHour = fromHour;
            e.startMinute = 0;
            e.endHour = toHour;
            e.endMinute = 0;
            e.openEnd = 1;
            return e;
        };
        CAT_Data mornings = entry("shop.ZPF", CAT_Data::Week, 7, 12);
        for (int day = 1; day <= 5; ++day) mornings.weekdays[static_cast<size_t>(day)] = 1;
        CAT_Data weekend = entry("weekend.ZPF", CAT_Data::Week, 9, 18);
        weekend.weekdays[0] = weekend.weekdays[6] = 1;
        CAT_Data promotion = entry("promo.ZPF", CAT_Data::Day, 10, 14);
        promotion.days[0] = promotion.days[14] = 1;
        saveSchedule(dir + "/week.AT", {mornings, weekend, promotion});
        frame.openFile(dir + "/week.AT");
        QTest::qWait(500);
        if (!shoot(out + "/schedule-window.png")) return 1;

        // 7. The entry dialog in each kind, on the promotion's entry.
        for (int kind : {CAT_Data::Week, CAT_Data::Day, CAT_Data::Other}) {
            CScheduleDialog dialog(promotion, &frame);
            dialog.show();
            dialog.move(420, 160);
            QTest::mouseClick(dialog.kindButton(kind), Qt::LeftButton, {}, QPoint(4, 4));
            if (kind == CAT_Data::Week)
                for (int day : {1, 3, 5}) dialog.boxes()[day]->setChecked(true);
            QTest::qWait(300);
            const char* name = kind == CAT_Data::Week  ? "week"
                               : kind == CAT_Data::Day ? "day"
                                                       : "other";
            if (!shoot(out + "/schedule-entry-" + name + ".png")) return 1;
        }
        if (frame.scheduleWindow()) frame.scheduleWindow()->action(kCloseSchedule)->trigger();
        QTest::qWait(200);
    }

    // 8. The clock page editor on a page for a 128 x 64 sign.
    {
        ClockPageDocument page = newClockPageDocument(currentTimeZone(), 31);
        auto place = [&](int kind, int x, int y, int font, uint32_t colour) {
            ClockItem& item = page.items[static_cast<size_t>(kind)];
            item.x = x;
            item.y = y;
            item.fontIndex = font;
            item.colour = colour;
        };
        place(kClockTitle, 4, 2, 5, 0x40A0FF);
        page.items[kClockTitle].format = "HARBOUR";
        place(kClockTime, 4, 14, 13, 0xFFD000);
        place(kClockDate, 4, 34, 2, 0x30E030);
        place(kClockWeek, 84, 34, 2, 0x30E030);
        place(kClockTemperature, 4, 48, 7, 0xFF4020);
        page.items[kClockTime].format = "HH:MM:SS";
        saveClockPageDocument(dir + "/harbour.TIM", page);
        FontTable fonts;
        fonts.loadBuiltIn(dir, programFolder());
        ConsoleMessages messages;
        ClockPageEditor editor(qs(dir + "/harbour.TIM"), 128, 64, true, fonts, messages, &frame);
        editor.show();
        editor.setGeometry(260, 160, 760, 420);
        editor.itemSelector()->setCurrentIndex(editor.itemSelector()->findText("Time"));
        QTest::qWait(600);
        if (!shoot(out + "/clock-page-editor.png")) return 1;
        editor.close();
    }

    // 9. Send > Change communication address *: the password, the serial and the network dialog.
    ConsoleMessages quiet;
    {
        CPasswordDialog password(quiet, &frame);
        password.show();
        password.move(460, 300);
        password.passwordEdit()->setText("480713");
        QTest::qWait(300);
        if (!shoot(out + "/password.png")) return 1;
    }
    CommSettings settings = frame.commSettings();
    settings.address = 1;
    {
        CChangeAddressDialog address(settings, false, quiet, &frame);
        address.show();
        address.move(420, 180);
        address.addressEdit()->setValue(12);
        QTest::qWait(300);
        if (!shoot(out + "/change-address.png")) return 1;
    }
    {
        CChangeIpDialog ip(frame.operations(), settings, "192.168.0.6", quiet, &frame);
        ip.show();
        ip.move(440, 240);
        ip.network()->ipEdit()->setValue({{192, 168, 0, 20}});
        QTest::qWait(300);
        if (!shoot(out + "/change-ip.png")) return 1;
    }

    // 10. A virtual sign with a modem on its serial line, and the network.
    signsim::SimulatorOptions signOptions;
    signOptions.storage = dir + "/sign";
    signOptions.modem = true;
    signsim::SignSimulator virtualSign(signOptions);
    std::string error;
    if (!virtualSign.start(&error)) {
        std::fprintf(stderr, "the virtual sign did not start: %s\n", error.c_str());
        return 1;
    }
    appProfile().writeString("SET", "COM4_DEVICE", virtualSign.serialDevice());
    qputenv(kModemListVariable, QByteArray::fromStdString("USB Modem 56K=/dev/ttyACM0;Virtual "
                                                          "Sign Modem=" +
                                                          virtualSign.serialDevice()));
    {
        CSelectModemDialog select(installedModems(), appProfile(), &frame);
        select.show();
        select.move(400, 300);
        select.modemChoice()->setCurrentIndex(1);
        QTest::qWait(300);
        if (!shoot(out + "/select-modem.png")) return 1;
        select.accept();
    }
    addPhoneNumber(appProfile(), "0");
    addPhoneNumber(appProfile(), "5551234");
    frame.action(CMainFrame::Command::DialHangUp)->trigger();
    CModemControlWindow* modem = frame.modemWindow();
    if (!modem) return 1;
    modem->numberChoice()->setCurrentIndex(1);
    QTest::mouseClick(modem->dialButton(), Qt::LeftButton);
    if (!QTest::qWaitFor([&] { return modem->status() == "CONNECT"; }, 20000)) {
        std::fprintf(stderr, "the modem did not connect\n");
        return 1;
    }
    QTest::qWait(300);
    if (!shoot(out + "/modem-control.png")) return 1;
    modem->close();
    if (!QTest::qWaitFor([&] { return !frame.operations().selection().held; }, 10000)) return 1;

    // 11. Send to signs: the checklist, then the window after sending to two signs, one dead.
    SignList many;
    for (const char* name : {"Sample LED", "Lobby", "Car park"}) {
        CLED_Set_Data s;
        s.name = name;
        s.width = 256;
        s.height = 128;
        s.host = "127.0.0.1";
        many.signs.push_back(s);
    }
    many.signs[1].host = "127.0.0.9";
    many.signs[2].port = 2;
    {
        CSendToSignsDialog choose(many, quiet, &frame);
        choose.show();
        choose.move(460, 240);
        choose.list()->item(0)->setCheckState(Qt::Checked);
        choose.list()->item(1)->setCheckState(Qt::Checked);
        QTest::qWait(300);
        if (!shoot(out + "/send-to-signs.png")) return 1;
    }
    OperationEnvironment base = frame.operations().environment();
    base.commandPort = virtualSign.commandPort();
    base.ftpPort = virtualSign.ftpPort();
    base.uploadPauseMs = 0;
    base.verifySend = true;
    {
        MultiSendWindow sending({many.signs[0], many.signs[1]}, base, appProfile(), &frame);
        sending.show();
        sending.move(380, 220);
        if (!QTest::qWaitFor([&] { return !sending.running(); }, 60000)) return 1;
        QTest::qWait(300);
        if (!shoot(out + "/sending-to-signs.png")) return 1;
    }
    virtualSign.stop();
    if (!shootItemContextMenu(frame, dir, out) || !shootSchedulePreview(frame, dir, out)) return 1;
    if (!takeSignSettingsShots(out, dir, frame)) return 1;
    frame.close();
    return 0;
}

// The item view's context menu on the first item of area 0 of the menu program, which enters
// with "Move left" and so offers "Set Speed".
bool shootItemContextMenu(CMainFrame& frame, const std::string& dir, const QString& out) {
    frame.openFile(dir + "/menu.ZPF");
    CProgramFrame* programFrame = frame.programFrame();
    if (!programFrame) return false;
    programFrame->layoutView()->selectArea(0);
    CProgram_Menu_view* items = programFrame->programList()->itemView();
    items->selectElement(1);
    if (!QTest::qWaitFor([&] { return programFrame->thumbnails().pending() == 0; }, 20000))
        std::fprintf(stderr, "the item view's thumbnails are still being made\n");
    QMenu* menu = items->contextMenuFor(1);
    if (!menu) return false;
    const Rect card = itemCardRect(1);
    menu->popup(
        items->viewport()->mapToGlobal(QPoint(items->viewX(card.left + 50), card.top + 40)));
    QTest::qWait(400);
    const bool shot = shoot(out + "/program-item-menu.png");
    menu->close();
    delete menu;
    frame.closeProgram();
    QTest::qWait(200);
    return shot;
}

// "Preview at" on the schedule of three entries: the next weekday at 09:30, when the weekday
// mornings' program plays, in the window the preview plays in, over the schedule window.
bool shootSchedulePreview(CMainFrame& frame, const std::string& dir, const QString& out) {
    // The weekend program took the shop's dividing lines, which lie outside its smaller face;
    // its own lines let it make without a message.
    ProgramData weekend;
    if (loadProgram(dir + "/weekend.ZPF", weekend) != ProgramLoadResult::Loaded) return false;
    applyAreaFormat(weekend.areaFormat, weekend.ledWidth, weekend.ledHeight, weekend.regionLines);
    if (!saveProgram(dir + "/weekend.ZPF", weekend)) return false;
    frame.openFile(dir + "/week.AT");
    if (!frame.scheduleWindow()) return false;
    const int64_t now = QDateTime::currentSecsSinceEpoch();
    int ahead = 1;
    CivilTime day = civilFromSeconds(now + 86400);
    while (day.weekday == 0 || day.weekday == 6) day = civilFromSeconds(now + ++ahead * 86400);
    const CivilTime at = civilFromSeconds(secondsFromCivil(day.year, day.month, day.day, 9, 30, 0));
    if (!frame.previewSchedule(at) || !frame.schedulePreview()) return false;
    frame.schedulePreview()->move(256, 190);
    if (!QTest::qWaitFor(
            [&] {
                return frame.session().preview() && frame.session().preview()->framesShown() > 10;
            },
            30000)) {
        std::fprintf(stderr, "the schedule preview showed no frames\n");
        return false;
    }
    QTest::qWait(300);
    const bool shot = shoot(out + "/schedule-preview.png");
    frame.schedulePreview()->close();
    if (frame.scheduleWindow()) frame.scheduleWindow()->action(kCloseSchedule)->trigger();
    QTest::qWait(200);
    return shot;
}
namespace {

// Set > Set communication with three signs, Send > Show info on startup, the scan direction
// (Ctrl+F11) and the file list a sign sends back.
bool takeSignSettingsShots(const QString& out, const std::string& dir, CMainFrame& frame) {
    SignList list;
    CLED_Set_Data lan;
    lan.name = "Sample LED";
    lan.width = 256;
    lan.height = 128;
    lan.host = "192.168.0.6";
    CLED_Set_Data door = lan;
    door.name = "Front door";
    door.width = 128;
    door.height = 64;
    door.port = 1;
    door.address = 3;
    door.baudIndex = 7;
    door.mtuIndex = 5;
    CLED_Set_Data lobby = lan;
    lobby.name = "Lobby";
    lobby.ip = {{192, 168, 0, 9}};
    lobby.host = "192.168.0.9";
    list.signs = {lan, door, lobby};
    const std::string listPath = dir + "/" + kSignListFile;
    if (!saveSignList(listPath, list)) return false;
    CommSettings current = frame.commSettings();
    current.ledName = "Front door";
    {
        CLedSetDialog ledSet(current, listPath, &frame);
        ledSet.show();
        ledSet.move(340, 220);
        QTest::qWait(300);
        if (!shoot(out + "/led-set.png")) return false;
    }
    {
        BootParams boot;
        boot.show = {{1, 0, 1, 1, 0, 1}};
        CShowOnStartupDialog startup(frame.operations(), boot, &frame);
        startup.show();
        startup.move(460, 280);
        QTest::qWait(300);
        if (!shoot(out + "/show-on-startup.png")) return false;
    }
    {
        CScanTypeDialog scan(frame.operations(), &frame);
        scan.show();
        scan.move(480, 300);
        scan.setDirection(2);
        QTest::qWait(300);
        if (!shoot(out + "/scan-type.png")) return false;
    }
    {
        FileListWindow files(&frame);
        files.show();
        files.setGeometry(420, 200, 420, 300);
        files.showText(
            "DATA1\\70001.shw 61\nDATA1\\70001001.JPG 1975\nDATA1\\70001002.JPG "
            "2210\nDATA1\\run.at 161\n");
        QTest::qWait(300);
        if (!shoot(out + "/file-list.png")) return false;
    }
    return true;
}

}  // namespace
