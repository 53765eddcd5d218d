#include "shell/ui/application.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "comm/led_set_data.h"
#include "common/folders.h"
#include "common/profile.h"
#include "common/ui/qt_messages.h"
#include "editor/resource_library.h"
#include "shell/logon.h"
#include "shell/ui/logon_dialog.h"
#include "shell/ui/main_frame.h"

namespace brightline::ui {

int runBrightline(int argc, char** argv) {
    const auto started = std::chrono::steady_clock::now();
    bool quitWhenReady = false;
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quit-when-ready") == 0)
            quitWhenReady = true;
        else if (argv[i][0] != '-')
            files << QFileInfo(QString::fromLocal8Bit(argv[i])).absoluteFilePath();
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    QtMessages messages;

    const std::string installed = installedDataFolder(programFolder());
    if (!installed.empty()) {
        const std::string user = userDataFolder();
        std::string why;
        if (!seedFolder(installed, user,
                        {kUserFile, kSignListFile, kPictureLibrary, kVideoLibrary, kTextPageLibrary,
                         kClockPageLibrary},
                        &why) ||
            !QDir::setCurrent(qs(user))) {
            if (why.empty()) why = "cannot work in the folder " + user;
            messages.show(OperatorMessage{"Brightline cannot prepare its folder: " + why,
                                          kCaptionWarning, MessageIcon::Warning,
                                          MessageButtons::Ok});
            return 1;
        }
    }

    // The profile root ("Brightline II") and the user file beside the executable.
    Profile& profile = appProfile();
    const std::string userFile = userFilePath();
    std::vector<CUserInfo> users;
    switch (prepareStartupLogon(profile, userFile, users, messages)) {
        case StartupLogon::Exit:
            return 1;
        case StartupLogon::Continue:
            break;
        case StartupLogon::AskUser: {
            CLogonDialog logon(
                users, messages,
                qs(profile.getString(kProfileSectionApp, kKeyUserName, kDefaultUserName)), true);
            if (logon.exec() != QDialog::Accepted) return 0;
            acceptLogon(profile, ss(logon.userName()), ss(logon.password()), logon.autoLogon());
            break;
        }
    }

    CMainFrame frame;
    frame.showMaximized();
    for (const QString& file : files) {
        if (QFileInfo(file).isFile())
            frame.openFile(ss(file));
        else
            messages.show(OperatorMessage{ss(file) + " cannot be opened: there is no such file.",
                                          kCaptionWarning, MessageIcon::Warning,
                                          MessageButtons::Ok});
    }
    if (quitWhenReady) {
        QTimer::singleShot(0, &frame, [&frame, started] {
            frame.repaint();
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::steady_clock::now() - started)
                                .count();
            std::printf("ready after %lld ms\n", static_cast<long long>(ms));
            std::fflush(stdout);
            frame.close();
        });
    }
    return app.exec();
}

}  // namespace brightline::ui
