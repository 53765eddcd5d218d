#pragma once
// What the desktop tests share: a scratch folder that is the current directory, the profile and
// the workspace of the run, and every operator message captured instead of shown.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/folders.h"
#include "common/operator_messages.h"
#include "common/profile.h"
#include "common/ui/qt_messages.h"

namespace brightline::ui::testing {

class DesktopTest : public ::testing::Test {
  protected:
    DesktopTest() {
        std::string name = (std::filesystem::temp_directory_path() / "bl-desk-XXXXXX").string();
        if (!::mkdtemp(name.data())) ADD_FAILURE() << "no scratch folder: " << name;
        dir_ = name;
        previous_ = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(dir_));
        ::setenv("BRIGHTLINE_WORKSPACE", (dir_ + "/BRIGHTLINE_TMP").c_str(), 1);
        ::unsetenv("BRIGHTLINE_VIRTUAL_SIGN");
        setAppProfilePath(dir_ + "/profile.ini");
        setStartFolder(dir_);
        // No guides unless a test asks for one.
        appProfile().writeInt(kProfileSectionSet, "SHOW_STEP", 1);
        appProfile().writeInt(kProfileSectionSet, "SHOW_STEP_PROGRAM", 1);
        QtMessages::setInterceptor(&messages_);
    }
    ~DesktopTest() override {
        QtMessages::setInterceptor(nullptr);
        QDir::setCurrent(previous_);
        std::filesystem::remove_all(dir_);
    }
    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    std::string lastMessage() const {
        auto all = messages_.messages();
        return all.empty() ? std::string("<none>") : all.back().text;
    }
    // Lets queued calls and timers run for up to `ms`, until `done` holds; false when the time
    // ran out (the caller's assertion says what did not happen).
    template <typename F>
    static bool waitFor(F done, int ms = 10000) {
        return QTest::qWaitFor(done, ms);
    }

    std::string dir_;
    QString previous_;
    RecordingMessages messages_;
};

// The top-level widget of type T that is visible, or nullptr.
template <typename T>
T* visibleWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) return t;
    return nullptr;
}

}  // namespace brightline::ui::testing
