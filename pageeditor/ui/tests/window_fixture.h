#pragma once
// What the Pagewright window tests share: standard dialogs answered by the test, and a window
// shown on the offscreen platform in a scratch folder with every message captured.
#include <QApplication>
#include <QTest>
#include <deque>
#include <memory>
#include <optional>

#include "common/ui/testing/desktop_test.h"
#include "pageeditor/ui/page_view.h"
#include "pageeditor/ui/pagewright_window.h"
#include "pageeditor/ui/standard_dialogs.h"

namespace brightline::ui::testing {

// Answers each dialog with the next queued answer (nothing queued: cancelled) and keeps what
// each dialog was preset with.
class ScriptedDialogs : public StandardDialogs {
  public:
    std::deque<QString> openNames, saveNames, pictureNames;
    std::deque<std::optional<pageeditor::LogFont>> fonts;
    std::deque<std::optional<uint32_t>> colors;
    std::optional<pageeditor::LogFont> fontPreset;
    std::optional<uint32_t> colorPreset;
    QString saveInitial;

    QString openTextPage(QWidget*, const QString&) override { return next(openNames); }
    QString saveTextPage(QWidget*, const QString& initial) override {
        saveInitial = initial;
        return next(saveNames);
    }
    QString openPicture(QWidget*, const QString&) override { return next(pictureNames); }
    std::optional<pageeditor::LogFont> chooseFont(QWidget*,
                                                  const pageeditor::LogFont& current) override {
        fontPreset = current;
        return next(fonts);
    }
    std::optional<uint32_t> chooseColor(QWidget*, uint32_t current) override {
        colorPreset = current;
        return next(colors);
    }

  private:
    template <class T>
    static T next(std::deque<T>& queue) {
        if (queue.empty()) return T();
        T v = queue.front();
        queue.pop_front();
        return v;
    }
};

class PagewrightTest : public DesktopTest {
  protected:
    PagewrightTest() {
        auto dialogs = std::make_unique<ScriptedDialogs>();
        dialogs_ = dialogs.get();
        window_ = std::make_unique<PagewrightWindow>(std::move(dialogs));
        window_->show();
        window_->activateWindow();
        if (!QTest::qWaitForWindowActive(window_.get()))
            ADD_FAILURE() << "the window did not become active";
        window_->view()->setFocus();
    }
    ~PagewrightTest() override {
        // Closing must not ask anything.
        doc().setModified(false);
        window_.reset();
    }

    PagewrightWindow& window() { return *window_; }
    PageView* view() { return window_->view(); }
    pageeditor::TextDocument& doc() { return window_->editor().document(); }
    std::string title() { return window_->windowTitle().toStdString(); }

    // Keys as the operator presses them, to the page view.
    void type(const QString& text) { QTest::keyClicks(view(), text); }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(view(), k, mods);
    }
    // A menu's key: the window is active again first (as after a dialog closed), since the
    // keys belong to the active window.
    void ctrl(Qt::Key k, bool shift = false) {
        if (!window_->isActiveWindow()) {
            window_->activateWindow();
            if (!QTest::qWaitForWindowActive(window_.get()))
                ADD_FAILURE() << "the window did not become active again";
        }
        key(k, shift ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
    }
    // The viewport point in the middle of the line at byte `pos`, on the boundary before it.
    QPoint pointAt(int32_t pos) {
        const auto c = doc().layout().caretAt(doc().page(), pos);
        return view()->viewportPoint(QPoint(c.x, c.top + c.height / 2));
    }
    // A press at `from`, a move with the button held and the release at `to`.
    void drag(int32_t from, int32_t to) {
        QWidget* vp = view()->viewport();
        QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, pointAt(from));
        const QPoint end = pointAt(to);
        QMouseEvent move(QEvent::MouseMove, end, vp->mapToGlobal(end), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(vp, &move);
        QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, end);
    }
    template <class T>
    T* dialog() {
        QApplication::processEvents();
        return window_->findChild<T*>();
    }

    ScriptedDialogs* dialogs_;
    std::unique_ptr<PagewrightWindow> window_;
};

}  // namespace brightline::ui::testing
